// The saved-DVH browser: listing a store sub-folder, sorting, and handing a file to the opener.
#include "app/TFormFileList.h"

#include "widgets/TextBytes.h"
#include "dvh/FileListOrder.h"
#include "dvh/NameCompare.h"
#include "dvh/Workspace.h"
#include "import/SavedDvhStore.h"
#include "platform/Paths.h"

#include <QComboBox>
#include <QHeaderView>
#include <QMessageBox>
#include <QPushButton>
#include <QTreeWidget>

#include <algorithm>

namespace {
constexpr int kFileNameColumn = 3;
// The bytes of a folder or file name, as the file system gave them: a name that is not
// UTF-8 is shown decoded, and the shown text would not lead back to the file.
constexpr int kBytesRole = Qt::UserRole + 1;

std::string BytesOf(const QVariant& data) {
    const QByteArray bytes = data.toByteArray();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}
}

TFormFileList::TFormFileList(Workspace* workspace, QWidget* owner)
    : TFormDialog(owner), m_workspace(workspace) {
    setObjectName("FormFileList");
    setWindowTitle("File List");
    SetFixedDialogFrame(360, 400);

    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName("ComboBox1");
    ComboBox1->setMaxVisibleItems(20);
    ComboBox1->setGeometry(12, 12, 336, 24);
    ListView1 = new QTreeWidget(this);
    ListView1->setObjectName("ListView1");
    ListView1->setColumnCount(4);
    ListView1->setHeaderLabels({"Patient ID", "Patient Name", "Plan ID", "FileName"});
    const int widths[4] = {75, 145, 105, 0};
    for (int c = 0; c < 4; ++c) ListView1->setColumnWidth(c, widths[c]);
    ListView1->setColumnHidden(kFileNameColumn, true);
    ListView1->setRootIsDecorated(false);
    ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView1->setSortingEnabled(false);
    ListView1->header()->setSectionsClickable(true);
    ListView1->setGeometry(12, 44, 336, 300);
    Button1 = new QPushButton("OK", this);
    Button1->setObjectName("Button1");
    Button1->setGeometry(182, 356, 80, 28);
    Button2 = new QPushButton("Cancel", this);
    Button2->setObjectName("Button2");
    Button2->setGeometry(268, 356, 80, 28);
    Button1->setAutoDefault(false);
    Button2->setAutoDefault(false);

    connect(ComboBox1, &QComboBox::activated, this, [this](int) { ComboBox1Change(); });
    connect(ListView1, &QTreeWidget::itemClicked, this, [this] { ListView1Click(); });
    connect(ListView1->header(), &QHeaderView::sectionClicked, this,
            &TFormFileList::ListView1ColumnClick);
    connect(Button1, &QPushButton::clicked, this, &TFormFileList::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TFormFileList::Button2Click);
}

void TFormFileList::FillFolders(const std::string& saveFolder, std::vector<std::string> folders) {
    m_saveFolder = saveFolder;
    std::stable_sort(folders.begin(), folders.end(), [](const std::string& a, const std::string& b) {
        return CompareTextNoCase(a, b) < 0;
    });
    ComboBox1->clear();
    for (const std::string& name : folders)
        ComboBox1->addItem(FromBytes(name), QByteArray::fromStdString(name));
    ComboBox1->setCurrentIndex(-1);
    ListView1->clear();
    show();
    raise();
}

void TFormFileList::FormShow() {
    Button1->setEnabled(false);
    SetOwnerEnabled(false);
}

void TFormFileList::FormClose() {
    SetOwnerEnabled(true);
}

int TFormFileList::ReadFileHeader(const std::string& path) {
    if (!m_workspace) return 0;
    const int code = m_workspace->ReadDvhHeader(path, &Header, false);
    // The refusal belongs to this dialog, over which the user is listing the folder.
    if (m_workspace->LastHeaderResult.status == ReadStatus::Differential) {
        auto* box = new QMessageBox(QMessageBox::Information, "Unsupported DVH Type",
                                    FromBytes(Workspace::DifferentialRefusalText(path)),
                                    QMessageBox::Ok, this);
        box->setObjectName("InformationBox");
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->show();
    }
    return code;
}

void TFormFileList::ComboBox1Change() {
    ListView1->clear();
    if (ComboBox1->currentIndex() < 0) return;
    const std::string folder = m_saveFolder + "/" + BytesOf(ComboBox1->currentData());
    for (const std::string& path : StoreTextFiles(folder)) {
        if (ReadFileHeader(path) == 0) continue;
        auto* row = new QTreeWidgetItem(ListView1);
        row->setText(0, FromBytes(Header.PatientID));
        row->setText(1, FromBytes(Header.PatientName));
        row->setText(2, FromBytes(Header.PlanID));
        row->setText(kFileNameColumn, FromBytes(path));
        row->setData(kFileNameColumn, kBytesRole, QByteArray::fromStdString(path));
    }
    Button1->setEnabled(false);
}

void TFormFileList::ListView1Click() {
    if (ListView1->currentItem() && ListView1->currentItem()->isSelected())
        Button1->setEnabled(true);
}

void TFormFileList::ListView1ColumnClick(int column) {
    const bool ascending = ClickSortColumn(SortColumn, m_sortFlags, 4, column);
    QList<QTreeWidgetItem*> rows;
    while (ListView1->topLevelItemCount() > 0) rows.push_back(ListView1->takeTopLevelItem(0));
    std::stable_sort(rows.begin(), rows.end(), [&](QTreeWidgetItem* a, QTreeWidgetItem* b) {
        return CompareFileListText(a->text(SortColumn).toStdString(),
                                   b->text(SortColumn).toStdString(), ascending) < 0;
    });
    ListView1->addTopLevelItems(rows);
}

void TFormFileList::Button1Click() {
    QTreeWidgetItem* row = ListView1->currentItem();
    if (!row || !row->isSelected()) return;
    const std::string path = BytesOf(row->data(kFileNameColumn, kBytesRole));
    const std::string folder = BytesOf(ComboBox1->currentData());
    if (!platform::FileExists(path)) {
        close();
        return;
    }
    const int code = ReadFileHeader(path);
    close();
    if (code > 1 && OnOpen) OnOpen(path, code, Header, folder);
}

void TFormFileList::Button2Click() { close(); }
