// A window that keeps its dialogs usable while they hold it disabled.
#pragma once

/// Disabling a window disables every dialog it owns. A window whose own dialogs must stay
/// usable while they keep it disabled implements this and disables its controls instead;
/// `TFormDialog` asks it to, and disables any other owner as a whole.
class OwnerWindow {
public:
    virtual ~OwnerWindow() = default;
    virtual void SetFormEnabled(bool enabled) = 0;
};
