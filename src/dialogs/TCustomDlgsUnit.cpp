// The settings of one customisable dialog.
#include "dialogs/TCustomDlgsUnit.h"

#include "dialogs/TDialogCustomizer.h"

#include <QWidget>

void TDialogMinEdgeSpace::SetEdgeSpace(int index, unsigned value) {
    if (index < 0 || index > 3) return;
    unsigned space[4] = {m_space[0], m_space[1], m_space[2], m_space[3]};
    space[index] = value;
    SetAllEdgeSpace(space[0], space[1], space[2], space[3]);
}

void TDialogMinEdgeSpace::SetAllEdgeSpace(unsigned left, unsigned top, unsigned right, unsigned bottom) {
    if (!m_unit) return;
    TDialogCustomizer* customizer = m_unit->Customizer();
    if (customizer && !customizer->FixedLayout()) return;
    TDialogEdgeSpace::SetAllEdgeSpace(left, top, right, bottom);
    if (customizer) m_unit->UpdateProperty();
}

TCustomDlgsUnit::TCustomDlgsUnit(QObject* owner) : QObject(owner) {}

TCustomDlgsUnit::~TCustomDlgsUnit() { DestroyDialog(); }

void TCustomDlgsUnit::RegistDialog(TCustomDialogWindow* dialog, const TCustomizePartsFactory& factory) {
    if (m_customizer || !dialog) return;
    m_customizer = factory.CreateDialogCustomizer();
    if (m_customizer) m_customizer->RegistDialog(this, dialog, factory);
}

void TCustomDlgsUnit::StartCustomize() {
    if (!m_customizer) return;
    m_customizer->StartCustomize(m_lastRect);
    m_customizer->SetSystemIcon(m_icon);
    if (!m_caption.isEmpty()) m_customizer->SetCaption(m_caption);
}

void TCustomDlgsUnit::DestroyDialog() {
    if (!m_customizer) return;
    m_lastRect = m_customizer->FinishCustomize();
    m_customizer.reset();
}

void TCustomDlgsUnit::SetSubFormAllProperties(QWidget* form, TSubFormPos pos, TSubFormAnchors anchors) {
    if (form == m_subForm && pos == m_subFormPos && anchors == m_subFormAnchors) return;
    if (m_customizer && !m_customizer->FixedLayout()) return;
    m_subFormAnchors = anchors & AllAnchors;
    m_subFormPos = pos;
    if (!form && !m_subForm) return;
    if (form != m_subForm) {
        disconnect(m_subFormWatch);
        if (form) m_subFormWatch = connect(form, &QObject::destroyed, this, &TCustomDlgsUnit::SubFormDestroyed);
        m_subForm = form;
    }
    UpdateProperty();
}

void TCustomDlgsUnit::SubFormDestroyed(QObject* gone) {
    // A widget announces its end before its pointers clear: it is half gone already.
    if (m_customizer) m_customizer->SubFormGone(gone);
    m_subForm = nullptr;
    UpdateProperty();  // whatever the layout kind: the dialog must not keep room for a ghost
}

void TCustomDlgsUnit::UpdateProperty() {
    if (m_customizer) m_customizer->UpdateProperty();
}

const TDialogEdgeSpace* TCustomDlgsUnit::GetNowEdgeSpace() const {
    return m_customizer ? &m_customizer->NowEdgeSpace() : nullptr;
}

QPoint TCustomDlgsUnit::GetPosition() const {
    if (m_customizer) return m_customizer->GetPosition();
    return m_lastRect ? m_lastRect->topLeft() : QPoint(-1, -1);
}

void TCustomDlgsUnit::SetPosition(const QPoint& p) {
    if (p == GetPosition()) return;
    if (m_customizer) {
        m_customizer->SetPosition(p);
        return;
    }
    if (m_lastRect) {
        m_lastRect->moveTopLeft(p);
    } else {
        m_lastRect = QRect(p, QSize(0, 0));  // opens there, at its minimum size
    }
}

QString TCustomDlgsUnit::GetCaption() const { return m_customizer ? m_customizer->GetCaption() : m_caption; }

void TCustomDlgsUnit::SetCaption(const QString& caption) {
    if (caption == m_caption) return;
    m_caption = caption;
    if (m_customizer) m_customizer->SetCaption(caption);
}

void TCustomDlgsUnit::SetIcon(const QIcon& icon) {
    m_icon = icon;
    if (m_customizer) m_customizer->SetSystemIcon(m_icon);
}
