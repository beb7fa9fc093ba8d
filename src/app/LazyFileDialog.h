// A file dialog of the main window, made the first time it is used.
#pragma once

#include <QFileDialog>

#include <functional>
#include <utility>

/// Holds a dialog that is built on first use: making the main window's file dialogs up front
/// cost a noticeable share of start-up time and memory, for dialogs most sessions never open.
/// Reads like the dialog pointer it replaces (`SaveDialog1->exec()`).
class LazyFileDialog {
public:
    /// `make` builds the dialog, parented to its window (which deletes it), fully set up.
    void MakeWith(std::function<QFileDialog*()> make) { m_make = std::move(make); }

    QFileDialog* get() {
        if (!m_dialog && m_make) m_dialog = m_make();
        return m_dialog;
    }
    QFileDialog* operator->() { return get(); }
    operator QFileDialog*() { return get(); }
    /// Whether the dialog exists yet.
    bool Made() const { return m_dialog != nullptr; }

private:
    std::function<QFileDialog*()> m_make;
    QFileDialog* m_dialog = nullptr;
};
