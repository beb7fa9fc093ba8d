// "File List": the browser of the saved-DVH store, one sub-folder per plan list.
#pragma once

#include "widgets/TFormDialog.h"
#include "dvh/DvhExportRecogniser.h"

#include <functional>
#include <string>
#include <vector>

class QComboBox;
class QPushButton;
class QTreeWidget;
class Workspace;

/// The user picks a sub-folder of the save folder, sees its recognisable ".txt" exports and
/// opens one. The main window is disabled while it is shown.
class TFormFileList : public TFormDialog {
    Q_OBJECT
public:
    /// `workspace` recognises the files (into this dialog's own header fields).
    TFormFileList(Workspace* workspace, QWidget* owner = nullptr);

    QComboBox* ComboBox1;    // sub-folders, sorted
    QTreeWidget* ListView1;  // "Patient ID", "Patient Name", "Plan ID", hidden "FileName"
    QPushButton* Button1;    // "OK", enabled once a row is clicked
    QPushButton* Button2;    // "Cancel"

    int SortColumn = 0;
    /// The header of the file last recognised by `ReadFileHeader`.
    DvhHeaderFields Header;

    /// OK on a recognised file: its path, code, header and the chosen sub-folder's name.
    std::function<void(const std::string& path, int code, const DvhHeaderFields& header,
                       const std::string& folder)>
        OnOpen;

    /// Fills `ComboBox1` with the store's sub-folders, empties the list and shows the dialog.
    void FillFolders(const std::string& saveFolder, std::vector<std::string> folders);
    /// Recognises the file at `path` into `Header`; returns its DVH file type code.
    int ReadFileHeader(const std::string& path);

    void ComboBox1Change();
    void ListView1Click();
    void ListView1ColumnClick(int column);
    void Button1Click();
    void Button2Click();

protected:
    void FormShow() override;
    void FormClose() override;

private:
    Workspace* m_workspace;
    std::string m_saveFolder;
    int m_sortFlags[4] = {0, 0, 0, 0};
};
