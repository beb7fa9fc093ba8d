// The one way from the core up to the user: progress, status texts and live options.
#pragma once

#include <string>

/// Implemented by the main window (and by fakes in tests). The core calls it where a routine
/// needs the user's live state or wants to show progress; it never calls the UI otherwise.
class WorkspaceHost {
public:
    virtual ~WorkspaceHost() = default;
    /// The live state of the settings box "Case sensitivity", read at the moment of comparing.
    virtual bool CaseSensitive() const = 0;
    /// A long read starts: a progress bar with positions 0..maximum.
    virtual void ProgressBegin(int /*maximum*/) {}
    /// The read has reached `position`; the host may let pending window events run.
    virtual void ProgressStep(int /*position*/) {}
    virtual void ProgressEnd() {}
    /// A soft refusal or failure for the main window's status bar.
    virtual void StatusText(const std::string& /*text*/) {}
    /// An entry of the open-file list changed: a read found other names in its file.
    virtual void OpenFilesChanged() {}
    /// An information message box with an OK button (e.g. a refused differential DVH).
    virtual void Inform(const std::string& /*text*/, const std::string& /*caption*/) {}
    /// Moves the one file `path` to the desktop trash, where the user can restore it; never
    /// deletes it for good and never replaces a file already in the trash. False when it stays
    /// where it is (also where there is no trash to use, as without a host).
    virtual bool MoveToTrash(const std::string& /*path*/) { return false; }
};
