// The sub form inside a customisable dialog.
#include "dialogs/DialogSubControls.h"

TSubWinControl::TSubWinControl(QWidget* control)
    : m_control(control),
      m_savedParent(control->parentWidget()),
      m_savedFlags(control->windowFlags()),
      m_savedGeometry(control->geometry()),
      m_savedVisible(control->isVisible()),
      m_savedState(control->windowState()) {
    // A widget nobody sized yet asks for its natural size, not Qt's arbitrary default.
    m_minSize = control->testAttribute(Qt::WA_Resized) ? control->size() : control->sizeHint();
    m_minSize = m_minSize.expandedTo(control->minimumSize());
}

TSubWinControl::~TSubWinControl() {
    if (!m_control) return;  // destroyed while adopted: nothing to give back
    m_control->hide();
    m_control->setParent(m_savedParent, m_savedFlags);
    m_control->setGeometry(m_savedGeometry);
    if (m_control->isWindow()) m_control->setWindowState(m_savedState);
    m_control->setVisible(m_savedVisible);
}

void TSubWinControl::Initialize(QWidget* dialog) {
    if (!m_control || m_control->parentWidget() == dialog) return;
    m_control->hide();
    m_control->setWindowState(Qt::WindowNoState);  // a maximised window would not fit its place
    m_control->setParent(dialog, Qt::Widget);
}

void TSubWinControl::Show() {
    if (m_control && m_control->isHidden()) m_control->show();
}

void TSubWinControl::SetRect(const QRect& r) {
    if (m_control) m_control->setGeometry(r);
}
