// Customizes an open dialog window.
#include "dialogs/TDialogCustomizer.h"

#include "dialogs/DialogSubControls.h"
#include "dialogs/TCustomDialogWindow.h"
#include "dialogs/TCustomDlgsUnit.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QSizeGrip>

namespace {

LayoutSize ToLayout(QSize s) { return {s.width(), s.height()}; }
QRect ToQt(const LayoutRect& r) { return QRect(r.left, r.top, r.Width(), r.Height()); }
LayoutRect ToLayout(const QRect& r) { return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()}; }

std::vector<LayoutRect> Screens() {
    std::vector<LayoutRect> screens;
    for (const QScreen* s : QGuiApplication::screens()) screens.push_back(ToLayout(s->availableGeometry()));
    return screens;
}

}  // namespace

void TDialogMainControl::SetRect(const QRect& r) {
    if (m_controls && m_controls->geometry() != r) m_controls->setGeometry(r);
}

std::unique_ptr<TDialogMainControl> TCustomizePartsFactory::CreateDialogMainControl(
    TDialogCustomizer* customizer) const {
    QWidget* controls = customizer->Dialog()->MainWidget();
    // The dialog's own size is its least: below it a file list shows no file.
    const QSize own = controls->sizeHint().expandedTo(controls->minimumSizeHint()).expandedTo(controls->minimumSize());
    return std::make_unique<TDialogMainControl>(controls, own);
}

std::unique_ptr<TDialogCustomizer> TDialogPartsFactory::CreateDialogCustomizer() const {
    if (m_sizesItself) return std::make_unique<TSizingDialogCustomizer>();
    return std::make_unique<TFixedDialogCustomizer>();
}

TDialogCustomizer::TDialogCustomizer(bool fixedLayout)
    : m_fixedLayout(fixedLayout), m_subControl(std::make_unique<TSubNULLControl>()) {}

TDialogCustomizer::~TDialogCustomizer() {
    if (m_dialog) m_dialog->removeEventFilter(this);
    m_subControl.reset();  // gives the sub form back while the dialog still stands
    delete m_grip;
}

TCustomDialogWindow* TDialogCustomizer::Dialog() const { return m_dialog; }

void TDialogCustomizer::RegistDialog(TCustomDlgsUnit* unit, TCustomDialogWindow* dialog,
                                     const TCustomizePartsFactory& factory) {
    if (!unit || !dialog) return;
    m_unit = unit;
    m_dialog = dialog;
    m_ownCaption = dialog->windowTitle();
    m_mainControl = factory.CreateDialogMainControl(this);
    RecreateDialogSubControl();
    InitializeDialog();
}

void TDialogCustomizer::StartCustomize(const std::optional<QRect>& last) {
    if (!m_dialog || !m_unit) return;
    m_dialog->installEventFilter(this);
    m_started = true;
    Customize(last ? last->size() : QSize(0, 0));
    const QRect screen = ScreenRect();
    const std::vector<LayoutRect> screens = Screens();
    std::optional<LayoutRect> lastRect;
    if (last) lastRect = ToLayout(QRect(last->topLeft(), m_dialog->size()));
    const LayoutRect opening = OpeningRect(lastRect, ToLayout(m_dialog->size()), screens, ToLayout(screen));
    m_dialog->move(opening.left, opening.top);
}

QRect TDialogCustomizer::FinishCustomize() {
    if (!m_dialog || !m_unit) return QRect(-1, -1, 0, 0);
    FinalizeDialog();
    m_dialog->removeEventFilter(this);
    m_started = false;
    delete m_grip;
    // The window may open again under another customizer: it starts without limits.
    m_dialog->setMinimumSize(0, 0);
    m_dialog->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    return QRect(m_dialog->pos(), m_dialog->size());
}

void TDialogCustomizer::UpdateProperty() {
    if (m_dialog && m_unit && m_started) Customize(m_dialog->size());
}

void TDialogCustomizer::SubFormGone(const QObject* gone) { m_subControl->Forget(gone); }

void TDialogCustomizer::Customize(QSize size) {
    RecreateDialogSubControl();
    m_subControl->Initialize(m_dialog);
    GetMinDialogSize();
    const QRect screen = ScreenRect();
    const LayoutSize held = ClampSize(ToLayout(size), ToLayout(m_minDialogSize), ToLayout(screen.size()));
    const QSize minimum = m_minDialogSize.boundedTo(screen.size());
    if (Resizable()) {
        m_dialog->setMinimumSize(minimum);
        m_dialog->setMaximumSize(screen.size());
        m_dialog->resize(held.width, held.height);
    } else {
        m_dialog->setFixedSize(minimum);
    }
    LayOut();  // a hidden window gets its resize event only when shown
    m_subControl->Show();
}

void TDialogCustomizer::RecreateDialogSubControl() {
    QWidget* form = m_unit->SubForm();
    if (m_subControl->Compare(form)) return;
    std::unique_ptr<TDialogSubControl> next;
    if (form) {
        next = std::make_unique<TSubWinControl>(form);
    } else {
        next = std::make_unique<TSubNULLControl>();
    }
    m_subControl = std::move(next);
}

void TDialogCustomizer::GetMinDialogSize() {
    const LayoutSize size = MinClientSize(ToLayout(m_mainControl->MinRect()), ToLayout(m_subControl->GetMinRect()),
                                          m_unit->SubFormPos(), m_unit->MinEdgeSpace());
    m_minDialogSize = QSize(size.width, size.height);
}

QRect TDialogCustomizer::ScreenRect() const {
    // The dialog's own screen: a window on the second monitor is held to that monitor.
    const QScreen* screen = m_dialog->screen();
    if (!screen) screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1 << 15, 1 << 15);
}

void TDialogCustomizer::LayOut() {
    if (!m_dialog || !m_unit) return;
    const QSize client = m_dialog->size();
    const ControlsLayout layout =
        LayoutControls(ToLayout(client), ToLayout(m_mainControl->MinRect()), ToLayout(m_subControl->GetMinRect()),
                       m_unit->SubFormPos(), m_unit->MinEdgeSpace(), SharesSpareRoom(), m_unit->SubFormAnchors());
    m_nowEdgeSpace = layout.edge;
    m_mainControl->SetRect(ToQt(layout.main));
    m_subControl->SetRect(ToQt(layout.sub));
    if (QWidget* sub = m_subControl->MoveControl(); sub && m_unit->SubFormPos() == fpClient) sub->lower();
    if (m_grip) {
        m_grip->move(client.width() - m_grip->width(), client.height() - m_grip->height());
        m_grip->raise();
    }
}

bool TDialogCustomizer::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_dialog && event->type() == QEvent::Resize) LayOut();
    return false;
}

void TDialogCustomizer::SetSystemIcon(const QIcon& icon) {
    if (m_dialog) m_dialog->setWindowIcon(icon);  // an empty icon falls back to the program's
}

QString TDialogCustomizer::GetCaption() const { return m_dialog ? m_dialog->windowTitle() : QString(); }

void TDialogCustomizer::SetCaption(const QString& caption) {
    if (m_dialog) m_dialog->setWindowTitle(caption.isEmpty() ? m_ownCaption : caption);
}

QPoint TDialogCustomizer::GetPosition() const { return m_dialog ? m_dialog->pos() : QPoint(0, 0); }

void TDialogCustomizer::SetPosition(const QPoint& p) {
    if (!m_dialog) return;
    const std::vector<LayoutRect> screens = Screens();
    const LayoutPoint at = KeepOnScreen({p.x(), p.y()}, ToLayout(m_dialog->size()), screens, ToLayout(ScreenRect()));
    m_dialog->move(at.x, at.y);
}

namespace {

QSizeGrip* MakeGrip(QWidget* dialog) {
    auto* grip = new QSizeGrip(dialog);
    grip->setObjectName("DialogGrip");
    grip->resize(grip->sizeHint());
    grip->show();
    return grip;
}

}  // namespace

void TFixedDialogCustomizer::InitializeDialog() {
    // Read once per opening: a change while open acts the next time.
    m_sizing = m_unit->DialogSizing();
    if (m_sizing) m_grip = MakeGrip(m_dialog);
}

void TFixedDialogCustomizer::Customize(QSize size) { TDialogCustomizer::Customize(m_sizing ? size : QSize(0, 0)); }

void TSizingDialogCustomizer::InitializeDialog() { m_grip = MakeGrip(m_dialog); }
