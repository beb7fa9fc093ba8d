// "Batch processing": ticking the plans of a batch, choosing its plan list, loading the plans.
#pragma once

#include "widgets/TFormDialog.h"
#include "dvh/Workspace.h"

#include <functional>
#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class TFormBatchSet;

/// The first step of a batch. OK loads every ticked plan that is not loaded yet (parsed on
/// several threads, appended in list order) and hands the plans to `TFormBatchSet`; Cancel
/// and the close box close it without loading. While shown the main window is disabled.
class TFormBatch : public TFormDialog {
    Q_OBJECT
public:
    TFormBatch(Workspace& workspace, QWidget* owner = nullptr);

    QLabel* Label1;           // "Select Plan"
    QTreeWidget* ListView1;   // check box column, "Patient ID", "Patient RID", "Patient Name", "Plan ID", "Date-time"
    QComboBox* ComboBox1;     // plan-list names, sorted
    QPushButton* Button1;     // "Select ALL"
    QPushButton* Button2;     // "Clear"
    QPushButton* Button3;     // "Cancel"
    QPushButton* Button4;     // "OK"

    static constexpr int kColumns = 6;
    /// The column last clicked, and each column's direction flag (1 ascending, else descending).
    int SortColumn = 0;
    int SortFlag[kColumns] = {0, 0, 0, 0, 0, 0};

    /// The next step of the batch, set once the forms exist.
    TFormBatchSet* BatchSet = nullptr;
    /// Shows and draws a plan in the main window (the last BrainSCAN, iPlan or "Description"
    /// export read).
    std::function<void(int planIndex)> ShowLoadedPlan;
    /// Threads that parse the files (the machine's cores by default).
    int Threads;

    /// One row per open-file entry in list order, the plan-list names (bytes) with none chosen.
    void Fill(const std::vector<OpenFileClass>& files, const std::vector<std::string>& listNames);
    /// The dataset key of a row: patient ID + plan ID + date-time of its entry.
    std::string RowKey(const QTreeWidgetItem* item) const;
    bool Loading() const { return m_loading; }

    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void ListView1ColumnClick(int column);

protected:
    void FormShow() override;
    void FormClose() override;

private:
    /// Loads the ticked plans; false when loading stopped (the form stays open).
    bool LoadTickedPlans(int planListIndex, std::vector<QTreeWidgetItem*>& ticked);
    void FillBatchSet(const std::vector<QTreeWidgetItem*>& ticked, int planListIndex);
    void Message(const QString& text);

    Workspace& m_ws;
    bool m_loading = false;
};
