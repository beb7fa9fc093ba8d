// The settings dialog: its flow of chosen folders, OK, Cancel and the close box.
#include "app/TFormOption.h"

#include "app/TForm1.h"
#include "widgets/TextBytes.h"
#include "dialogs/TSelectFolderDialog.h"
#include "dvh/SettingsFile.h"
#include "platform/Paths.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    return button;
}

}  // namespace

TFormOption::TFormOption(TForm1* main)
    : QDialog(main), m_main(main), m_handlers(this, [this] { FormShow(); }, [this] { FormClose(); }) {
    setObjectName("FormOption");
    setWindowTitle("Settings...");
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::WindowStaysOnTopHint);
    setFixedSize(485, 255);

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName("PageControl1");
    TabSheet1 = new QWidget;
    TabSheet1->setObjectName("TabSheet1");
    TabSheet2 = new QWidget;
    TabSheet2->setObjectName("TabSheet2");
    PageControl1->addTab(TabSheet1, "Option");
    PageControl1->addTab(TabSheet2, "Directories");

    CheckBox1 = new QCheckBox("Scan at program initiation", TabSheet1);
    CheckBox1->setObjectName("CheckBox1");
    CheckBox2 = new QCheckBox("Case sensitivity", TabSheet1);
    CheckBox2->setObjectName("CheckBox2");
    auto* options = new QVBoxLayout(TabSheet1);
    options->addWidget(CheckBox1);
    options->addWidget(CheckBox2);
    options->addStretch(1);

    Label1 = new QLabel("Import File Directory", TabSheet2);
    Label1->setObjectName("Label1");
    Edit1 = new QLineEdit(TabSheet2);
    Edit1->setObjectName("Edit1");
    Edit1->setReadOnly(true);
    Button3 = MakeButton(TabSheet2, "Button3", "...");
    Label2 = new QLabel("Save File Directory", TabSheet2);
    Label2->setObjectName("Label2");
    Edit2 = new QLineEdit(TabSheet2);
    Edit2->setObjectName("Edit2");
    Edit2->setReadOnly(true);
    Button4 = MakeButton(TabSheet2, "Button4", "...");
    for (QPushButton* dots : {Button3, Button4}) dots->setFixedWidth(30);
    auto* folders = new QGridLayout(TabSheet2);
    folders->addWidget(Label1, 0, 0, 1, 2);
    folders->addWidget(Edit1, 1, 0);
    folders->addWidget(Button3, 1, 1);
    folders->addWidget(Label2, 2, 0, 1, 2);
    folders->addWidget(Edit2, 3, 0);
    folders->addWidget(Button4, 3, 1);
    folders->setRowStretch(4, 1);

    Button1 = MakeButton(this, "Button1", "OK");
    Button2 = MakeButton(this, "Button2", "Cancel");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PageControl1);
    layout->addLayout(buttons);

    SelectFolderDialog1 = new TSelectFolderDialog(this);
    SelectFolderDialog1->setObjectName("SelectFolderDialog1");
    SelectFolderDialog2 = new TSelectFolderDialog(this);
    SelectFolderDialog2->setObjectName("SelectFolderDialog2");
    SelectFolderDialog2->Options = bifReturnOnlyFSDirs | bifNewDialogStyle;

    RunScan = [this] { m_main->ScanDirectory(); };

    connect(Button1, &QPushButton::clicked, this, &TFormOption::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TFormOption::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TFormOption::Button3Click);
    connect(Button4, &QPushButton::clicked, this, &TFormOption::Button4Click);
}

void TFormOption::CopySettingsIn() {
    CheckBox1->setChecked(m_main->AutoScan);
    CheckBox2->setChecked(m_main->CaseSensitivity);
    Edit1->setText(FromBytes(m_main->ReadFolder));
    Edit2->setText(FromBytes(m_main->SaveFolder));
}

void TFormOption::FormCreate() {
    CopySettingsIn();
    // "Scan at program initiation": with a read folder set, the Scan command scans it.
    if (CheckBox1->isChecked() && !m_main->ReadFolder.empty() && RunScan) RunScan();
}

void TFormOption::FormShow() {
    // Unsaved ticks are undone at every show.
    CopySettingsIn();
    m_readFolderInEffect = m_main->ReadFolder;
    m_saveFolderInEffect = m_main->SaveFolder;
    Button1->setEnabled(!(FolderChanged && m_main->ReadFolder.empty()));
    m_main->SetFormEnabled(false);
    SaveSettings = false;
}

void TFormOption::ShowDirectories() {
    PageControl1->setCurrentWidget(TabSheet2);
    show();
    raise();
    activateWindow();
}

void TFormOption::closeEvent(QCloseEvent* event) {
    FormClose();
    QDialog::closeEvent(event);
}

void TFormOption::reject() {
    // Escape closes like the close box.
    close();
}

void TFormOption::FormClose() {
    if (m_closing) return;
    m_closing = true;
    m_writeRefused = SaveSettings && !WriteSettings();
    SaveSettings = false;
    // However the dialog was left, no scan stays pending for a later OK.
    FolderChanged = false;
    m_main->SetFormEnabled(true);
    hide();
    m_closing = false;
}

bool TFormOption::WriteSettings() {
    const bool autoScan = CheckBox1->isChecked();
    const bool caseSensitive = CheckBox2->isChecked();
    const platform::WriteResult result =
        UpdateSettingsFile(SettingsFilePath(platform::ProgramFolder()), [&](platform::IniFile& ini) {
            WriteDialogSettings(ini, m_main->ComputerName, m_main->ReadFolder, m_main->SaveFolder, autoScan,
                                caseSensitive);
        });
    if (result) {
        m_main->AutoScan = autoScan;
        m_main->CaseSensitivity = caseSensitive;
        return true;
    }
    // Nothing was written, so nothing changes: the options and the folders stay those in effect
    // when the dialog showed, and so do the boxes, the case box being read by every name
    // comparison. A change shown as made would be undone in silence at the next start, and a
    // folder chosen here would go on being read and saved into until then.
    m_main->ReadFolder = m_readFolderInEffect;
    m_main->SaveFolder = m_saveFolderInEffect;
    CopySettingsIn();
    m_main->ReportWriteFailure(result.message);
    return false;
}

void TFormOption::Button1Click() {
    const bool scan = FolderChanged;
    SaveSettings = true;
    close();  // writes the file first
    // A read folder that was not written is not in effect: the scan it was chosen for waits.
    if (scan && !m_writeRefused && RunScan) RunScan();
    FolderChanged = false;
}

void TFormOption::Button2Click() {
    close();
    FolderChanged = false;
}

void TFormOption::Button3Click() {
    if (!SelectFolderDialog1->Execute()) return;
    // A chosen folder counts at once, before OK; only OK writes it to the file.
    m_main->ReadFolder = PathBytes(SelectFolderDialog1->GetSelectFolder());
    Edit1->setText(FromBytes(m_main->ReadFolder));
    if (!m_main->ReadFolder.empty()) Button1->setEnabled(true);
}

void TFormOption::Button4Click() {
    if (!SelectFolderDialog2->Execute()) return;
    m_main->SaveFolder = PathBytes(SelectFolderDialog2->GetSelectFolder());
    Edit2->setText(FromBytes(m_main->SaveFolder));
}
