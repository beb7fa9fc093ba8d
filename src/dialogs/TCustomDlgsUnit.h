// The settings of one customisable dialog: where a sub form goes, the spaces around it,
// sizing, caption, icon and the last place of the window. They live while no window exists;
// while one does, the unit owns its customizer and passes changes on. Memory only.
#pragma once

#include "dialogs/DialogLayout.h"

#include <QIcon>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QString>

#include <memory>
#include <optional>

class QWidget;
class TCustomDlgsUnit;
class TCustomDialogWindow;
class TCustomizePartsFactory;
class TDialogCustomizer;

/// The minimum spaces around a sub form placed behind the dialog's controls. A change
/// reaches an open dialog at once when that dialog does not lay itself out, and is refused
/// while one that does is open.
class TDialogMinEdgeSpace : public TDialogEdgeSpace {
public:
    explicit TDialogMinEdgeSpace(TCustomDlgsUnit* unit) : m_unit(unit) {}
    void SetEdgeSpace(int index, unsigned value) override;
    void SetAllEdgeSpace(unsigned left, unsigned top, unsigned right, unsigned bottom) override;
    void SetLeftSpace(unsigned value) { SetEdgeSpace(0, value); }
    void SetTopSpace(unsigned value) { SetEdgeSpace(1, value); }
    void SetRightSpace(unsigned value) { SetEdgeSpace(2, value); }
    void SetBottomSpace(unsigned value) { SetEdgeSpace(3, value); }

private:
    TCustomDlgsUnit* m_unit;
};

class TCustomDlgsUnit : public QObject {
    Q_OBJECT
public:
    explicit TCustomDlgsUnit(QObject* owner);
    ~TCustomDlgsUnit() override;

    // Lifecycle, in the order every customisable dialog calls it.
    /// On show: makes the customizer for `dialog` (nothing when one exists or no dialog).
    void RegistDialog(TCustomDialogWindow* dialog, const TCustomizePartsFactory& factory);
    /// Sizes and places the window, then gives it the icon and the caption.
    void StartCustomize();
    /// On close: remembers the window's rectangle and ends the customizer.
    void DestroyDialog();

    QWidget* SubForm() const { return m_subForm; }
    void SetSubForm(QWidget* form) { SetSubFormAllProperties(form, m_subFormPos, m_subFormAnchors); }
    TSubFormPos SubFormPos() const { return m_subFormPos; }
    void SetSubFormPos(TSubFormPos pos) { SetSubFormAllProperties(m_subForm, pos, m_subFormAnchors); }
    TSubFormAnchors SubFormAnchors() const { return m_subFormAnchors; }
    void SetSubFormAnchors(TSubFormAnchors anchors) { SetSubFormAllProperties(m_subForm, m_subFormPos, anchors); }
    /// Changes all three at once; refused while a dialog that lays itself out is open.
    void SetSubFormAllProperties(QWidget* form, TSubFormPos pos, TSubFormAnchors anchors);

    TDialogMinEdgeSpace& MinEdgeSpace() { return m_minEdgeSpace; }
    const TDialogMinEdgeSpace& MinEdgeSpace() const { return m_minEdgeSpace; }
    void SetMinEdgeSpace(const TDialogEdgeSpace& space) { m_minEdgeSpace.Assign(space); }
    /// The spaces in force at the open window's present size; nullptr while closed.
    const TDialogEdgeSpace* GetNowEdgeSpace() const;

    bool DialogSizing() const { return m_dialogSizing; }
    /// Takes effect the next time the dialog opens.
    void SetDialogSizing(bool sizing) { m_dialogSizing = sizing; }

    /// The window's top-left while open, else where it was last closed; (-1,-1) before the
    /// first show (unless a position was set).
    QPoint GetPosition() const;
    void SetPosition(const QPoint& p);
    int GetLeft() const { return GetPosition().x(); }
    int GetTop() const { return GetPosition().y(); }
    void SetLeft(int left) { SetPosition({left, GetTop()}); }
    void SetTop(int top) { SetPosition({GetLeft(), top}); }
    /// The rectangle the window had when it last closed; none before the first show.
    std::optional<QRect> LastRect() const { return m_lastRect; }

    /// The open window's title, else the caption to give it.
    QString GetCaption() const;
    /// "" leaves the dialog's own caption.
    void SetCaption(const QString& caption);
    QIcon Icon() const { return m_icon; }
    void SetIcon(const QIcon& icon);

    TDialogCustomizer* Customizer() const { return m_customizer.get(); }

private:
    void SubFormDestroyed(QObject* gone);
    void UpdateProperty();

    std::unique_ptr<TDialogCustomizer> m_customizer;
    QPointer<QWidget> m_subForm;
    QMetaObject::Connection m_subFormWatch;
    TSubFormPos m_subFormPos = fpClient;
    TSubFormAnchors m_subFormAnchors = AllAnchors;
    TDialogMinEdgeSpace m_minEdgeSpace{this};
    bool m_dialogSizing = false;
    std::optional<QRect> m_lastRect;  // a null size in it means the minimum
    QIcon m_icon;
    QString m_caption;

    friend class TDialogMinEdgeSpace;
};

/// The settings every customisable dialog offers, each kept by its unit.
class TCustomDialogProperties {
public:
    explicit TCustomDialogProperties(QObject* dialog) : DialogUnit(new TCustomDlgsUnit(dialog)) {}

    TSubFormPos SubFormPos() const { return DialogUnit->SubFormPos(); }
    void SetSubFormPos(TSubFormPos pos) { DialogUnit->SetSubFormPos(pos); }
    TSubFormAnchors SubFormAnchors() const { return DialogUnit->SubFormAnchors(); }
    void SetSubFormAnchors(TSubFormAnchors anchors) { DialogUnit->SetSubFormAnchors(anchors); }
    TDialogMinEdgeSpace& MinEdgeSpace() const { return DialogUnit->MinEdgeSpace(); }
    void SetMinEdgeSpace(const TDialogEdgeSpace& space) { DialogUnit->SetMinEdgeSpace(space); }
    bool DialogSizing() const { return DialogUnit->DialogSizing(); }
    void SetDialogSizing(bool sizing) { DialogUnit->SetDialogSizing(sizing); }
    QString Caption() const { return DialogUnit->GetCaption(); }
    void SetCaption(const QString& caption) { DialogUnit->SetCaption(caption); }
    QIcon Icon() const { return DialogUnit->Icon(); }
    void SetIcon(const QIcon& icon) { DialogUnit->SetIcon(icon); }
    QWidget* GetSubForm() const { return DialogUnit->SubForm(); }
    void SetSubForm(QWidget* form) { DialogUnit->SetSubForm(form); }
    int Left() const { return DialogUnit->GetLeft(); }
    int Top() const { return DialogUnit->GetTop(); }
    void SetLeft(int left) { DialogUnit->SetLeft(left); }
    void SetTop(int top) { DialogUnit->SetTop(top); }

    TCustomDlgsUnit* const DialogUnit;  // owned by the dialog object
};
