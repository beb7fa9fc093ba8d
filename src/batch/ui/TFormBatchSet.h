// "Batch processing": mapping the plans' structure names to the plan list's, then evaluating.
#pragma once

#include "widgets/TFormDialog.h"
#include "batch/BatchRecords.h"
#include "dvh/Workspace.h"

#include <QString>

#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class TFormBatchResult;

/// One plan of the batch as the plan choice hands it over: its row texts and its dataset key.
struct BatchSetRow {
    QString PatientID, PatientRID, PatientName, PlanID, DateTime;
    std::string Key;
};

/// The batch plans, one row each, and the common names of the plan list with their aliases.
/// OK evaluates every index row for every plan and opens `TFormBatchResult`; Cancel and the
/// close box close it.
class TFormBatchSet : public TFormDialog {
    Q_OBJECT
public:
    using batchpro = ::batchpro;

    TFormBatchSet(Workspace& workspace, QWidget* owner = nullptr);

    QLabel* Label1;          // "Substitution"
    QTreeWidget* ListView1;  // "Patient ID", "Patient RID", "Patient Name", "Plan ID", "Date-time", "Structure Name"
    QListWidget* ListBox1;   // common names
    QListWidget* ListBox2;   // aliases of the selected common name
    QLineEdit* Edit1;        // the plan-list name
    QComboBox* ComboBox1;    // structure names of the selected row's plan
    QPushButton* Button1;    // "Add"
    QPushButton* Button2;    // "Delete"
    QPushButton* Button3;    // "OK"
    QPushButton* Button4;    // "Cancel"

    /// Entry k belongs to item k of `ListBox1`.
    std::vector<batchpro> Batchpro;
    static constexpr int kColumns = 6;
    int SortColumn = 0;
    int SortFlag[kColumns] = {0, 0, 0, 0, 0, 0};

    TFormBatchResult* Result = nullptr;
    /// Threads that evaluate the plans.
    int Threads;

    /// The batch plans and the plan list chosen; common names anew, aliases dropped (kept when
    /// the list has no named row). Selects the first common name.
    void Fill(const std::vector<BatchSetRow>& rows, int planListIndex);
    /// The dataset key of a row.
    std::string RowKey(const QTreeWidgetItem* item) const;

    void ListView1SelectItem();
    void ListBox1Click();
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void ListView1ColumnClick(int column);

protected:
    void FormShow() override;
    void FormClose() override;

private:
    Workspace& m_ws;
    int m_planListIndex = -1;
};
