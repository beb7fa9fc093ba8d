// The iPlan capture window: watching the clipboard, listing curves, handing them on.
#include "import/ui/TFormiPlanImport.h"

#include "widgets/ItemHeight.h"
#include "widgets/TextBytes.h"
#include "dvh/Workspace.h"
#include "import/ClipboardCapture.h"
#include "import/ClipboardTable.h"
#include "import/ui/TFormiPlan.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>

TFormiPlanImport::TFormiPlanImport(Workspace& ws, TFormiPlan& planDialog, QWidget* mainWindow)
    : QWidget(nullptr, Qt::Window | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowCloseButtonHint),
      m_ws(ws), m_planDialog(planDialog), m_main(mainWindow) {
    setObjectName("FormiPlanImport");
    setWindowTitle("iPlan");
    setFixedSize(142, 273);
    QFont tahoma("Tahoma");
    tahoma.setPixelSize(12);
    setFont(tahoma);
    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName("ListBox1");
    ListBox1->setGeometry(0, 0, 142, 244);
    SetItemHeight(ListBox1, 14);
    Panel1 = new QWidget(this);
    Panel1->setObjectName("Panel1");
    Panel1->setGeometry(0, 244, 142, 29);
    Button2 = new QPushButton("Cancel", Panel1);
    Button2->setObjectName("Button2");
    Button2->setGeometry(36, 4, 49, 23);
    Button1 = new QPushButton("OK", Panel1);
    Button1->setObjectName("Button1");
    Button1->setGeometry(90, 4, 49, 23);
    Button1->setEnabled(false);
    connect(Button1, &QPushButton::clicked, this, &TFormiPlanImport::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TFormiPlanImport::Button2Click);
}

void TFormiPlanImport::Open() {
    move(0, 0);
    ListBox1->clear();
    Button1->setEnabled(false);
    ResetCapture(m_ws);
    m_lastText.clear();
    // The copied text goes, so that the next copy, even of the same curve, is a change.
    QApplication::clipboard()->setText("");
    show();
    raise();
    activateWindow();
    if (m_main) {
        m_main->setEnabled(false);
        m_main->hide();
    }
}

void TFormiPlanImport::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!m_clipboardWatch)
        m_clipboardWatch = connect(QApplication::clipboard(), &QClipboard::dataChanged, this,
                                   &TFormiPlanImport::ClipboardChanged);
}

void TFormiPlanImport::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    // Where copies in other programs reach only the focused window, the user's click on this
    // window is when the new copy can be seen.
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && isVisible() &&
        ToBytes(QApplication::clipboard()->text()) != m_lastText)
        ClipboardChanged();
}

void TFormiPlanImport::ClipboardChanged() {
    m_lastText = ToBytes(QApplication::clipboard()->text());
    const std::string text = NormaliseLineEnds(m_lastText);
    const CaptureResult r = CaptureClipboardText(m_ws, text);
    if (r.Outcome == CaptureOutcome::Added) {
        ListBox1->addItem(FromBytes(r.Name));
    } else if (r.Outcome == CaptureOutcome::Refused) {
        auto* box = new QMessageBox(QMessageBox::Critical, "iPlan",
                                    "The copied curve cannot be read: " + FromBytes(r.Read.detail) +
                                        ". It was not added.",
                                    QMessageBox::Ok, this);
        box->setObjectName("CaptureErrorBox");
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->show();
    }
    Button1->setEnabled(ListBox1->count() > 0);
    update();
}

void TFormiPlanImport::Button1Click() {
    if (m_ws.CaptureCount() == 0) return;
    std::vector<std::string> names;
    for (const DVHDatasetClass& s : m_ws.CaptureDVHDataset) names.push_back(s.Name);
    m_planDialog.FromClipboardTable = false;
    m_planDialog.Fill(names, NormalTissueItem(names, {"Body", "Expanded"}));
    if (CaptureDoseUnknown(m_ws.CapturePrescribedDose)) {
        m_planDialog.SetDoseField("");
        m_planDialog.DoseFromCapture = false;
    } else {
        m_planDialog.SetDoseField(QString::number(Workspace::RoundToDigits(m_ws.CapturePrescribedDose, 2), 'f', 2));
        m_planDialog.DoseFromCapture = true;
    }
    close();
    m_planDialog.show();
    m_planDialog.raise();
}

void TFormiPlanImport::Button2Click() { close(); }

void TFormiPlanImport::closeEvent(QCloseEvent* event) {
    FormClose();
    QWidget::closeEvent(event);
}

void TFormiPlanImport::FormClose() {
    disconnect(m_clipboardWatch);
    m_clipboardWatch = {};
    QApplication::clipboard()->setText("");
    if (m_main) {
        m_main->setEnabled(true);
        m_main->show();
    }
}
