// The folder picker: lets the user choose one folder, remembering its root and last choice.
#pragma once

#include <QFileDialog>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

class QLabel;
class QWidget;

/// Options of the picker. The values are the classic browse flags, so stored option sets
/// keep their meaning; flags that name things a Linux desktop lacks (domains, printers,
/// computers, URLs, shortcut targets) are accepted and have no effect.
enum TSFolderOption : unsigned {
    bifReturnOnlyFSDirs = 0x0001,
    bifDontGoBelowDomain = 0x0002,
    bifStatusText = 0x0004,
    bifReturnFSAncestors = 0x0008,
    bifEditBox = 0x0010,
    bifValidate = 0x0020,
    bifNewDialogStyle = 0x0040,
    bifBrowseIncludeURLs = 0x0080,
    bifUAHint = 0x0100,
    bifNoNewFolderButton = 0x0200,
    bifNoTranslateTargets = 0x0400,
    bifBrowseForComputer = 0x1000,
    bifBrowseForPrinter = 0x2000,
    bifBrowseIncludeFiles = 0x4000,
    bifShareable = 0x8000,
};

/// The folders the classic special-folder numbers name, in their order. On Linux a value
/// names a folder where the desktop has one: the desktop, documents, music, videos,
/// pictures, the home folder and (as "My Computer") the file-system root; the others name
/// none, as a folder the system does not supply.
enum TSpecialFolder {
    sfDesktop, sfInternet, sfPrograms, sfControls, sfPrinters, sfPersonal, sfFavorites, sfStartup,
    sfRecent, sfSendTo, sfBitbucket, sfStartMenu, sfMyDocuments, sfMyMusic, sfMyVideo,
    sfDesktopDirectory, sfDrives, sfNetwork, sfNetHood, sfFonts, sfTemplates, sfCommonStartMenu,
    sfCommonPrograms, sfCommonStartup, sfCommonDesktopDirectory, sfAppData, sfPrintHood,
    sfLocalAppData, sfAltStartup, sfCommonAltStartup, sfCommonFavorites, sfInternetCache,
    sfCookies, sfHistory, sfCommonAppData, sfWindows, sfSystem, sfProgramFiles, sfMyPictures,
    sfProfile, sfSystemX86, sfProgramFilesX86, sfProgramFilesCommon, sfProgramFilesCommonX86,
    sfCommonTemplates, sfCommonDocuments, sfCommonAdminTools, sfAdminTools, sfConnections,
    sfCommonMusic, sfCommonPictures, sfCommonVideo, sfResources, sfResourcesLocalized,
    sfCommonOEMLinks, sfCDBurnArea, sfNone
};

/// The existing folder `folder` names on this computer, "" for none.
QString SpecialFolderPath(TSpecialFolder folder);

/// A non-visual component: set its properties, call `Execute`, read `GetSelectFolder`.
/// `Execute` runs the picker window modally over the owner, like any common dialog; the
/// window exists only during the call and is reachable there through `Handle` (tests answer
/// it that way). The root and the selection outlive each call, so the next `Execute` opens
/// at the folder chosen last.
class TSelectFolderDialog : public QObject {
    Q_OBJECT
public:
    explicit TSelectFolderDialog(QWidget* owner);
    ~TSelectFolderDialog() override;

    unsigned Options = bifReturnOnlyFSDirs;
    /// Text shown above the folder tree; "" shows none.
    QString Title;

    using NotifyEvent = std::function<void(TSelectFolderDialog* sender)>;
    NotifyEvent OnShow;
    NotifyEvent OnClose;
    /// The selection changed while the picker is shown (`GetSelectFolder` follows it live).
    NotifyEvent OnFolderChange;
    /// OK was pressed; set `canClose` false to keep the picker open.
    std::function<void(TSelectFolderDialog* sender, bool& canClose)> OnCanClose;
    /// A typed folder that does not exist (with `bifValidate`); `canClose` true ends the
    /// picker with a false result, false keeps it open.
    std::function<void(TSelectFolderDialog* sender, const QString& failedFolder, bool& canClose)>
        OnValidateFailed;

    /// Shows the picker modally. True when a folder was chosen, which becomes the selection;
    /// false on Cancel, with the selection as it was before. The process's current directory
    /// is the same afterwards.
    bool Execute();

    /// The selected folder's path; "" when none is selected.
    QString GetSelectFolder() const { return m_select; }
    /// Selects an existing folder (a path that is not one clears the selection); while the
    /// picker is shown it moves there at once.
    void SetSelectFolder(const QString& path);
    /// The root of the browse tree; "" means the whole file system.
    QString GetRootFolder() const { return m_root; }
    /// Sets the root; a path that is not an existing folder leaves the root empty. The picker
    /// shows and accepts nothing above its root.
    void SetRootFolder(const QString& path);
    /// The special folder the selection is (the lowest value when several name it), or sfNone.
    TSpecialFolder GetSelectSpecialFolder() const;
    /// Selects the special folder; one the system does not supply clears the selection.
    void SetSelectSpecialFolder(TSpecialFolder folder);
    /// The special folder the root is; sfDesktop for the whole tree.
    TSpecialFolder GetRootSpecialFolder() const;
    /// Roots the tree at the special folder; sfDesktop (or one not supplied) is the whole tree.
    void SetRootSpecialFolder(TSpecialFolder folder);
    QString GetStatusText() const { return m_statusText; }
    /// Stores the status line; with `bifStatusText` it is shown, at once while shown.
    void SetStatusText(const QString& text);
    /// While the picker is shown, enables or disables its OK button; otherwise nothing.
    void SetEnableOK(bool enable);
    /// The name of the folder chosen by the last successful `Execute`.
    QString DisplayName() const { return m_displayName; }
    /// The picker window while `Execute` runs, else nullptr.
    QFileDialog* Handle() const { return m_handle; }

protected:
    virtual bool DoExecute();
    /// Shows the prepared picker window modally between the show and close notifications
    /// and returns its result; a subclass may run it inside a window of its own.
    virtual int RunPickerWindow(QFileDialog& window);
    virtual void DoShow();
    virtual void DoClose();
    virtual bool DoCanClose();
    virtual void DoFolderChange();
    virtual bool DoValidateFailed(const QString& failedFolder);

private:
    friend class FolderPickerWindow;
    /// Whether the picker may close with `chosen`; may end it with a false result itself.
    bool AcceptChoice(const QString& chosen);
    void ChangeSelectFolder();
    void ChangeStatusText();

    QWidget* m_owner;
    QString m_root;
    QString m_select;
    QString m_statusText;
    QString m_displayName;
    QPointer<QFileDialog> m_handle;
    QLabel* m_statusLine = nullptr;  // the picker's status line while it is shown
};
