// Customizes an open dialog window: adopts the sub form beside or behind the dialog's own
// controls, lays both out on every resize, keeps the window between its minimum and the
// screen, optionally makes a fixed dialog resizable with a size grip, and reports the
// window's rectangle when it closes.
#pragma once

#include "dialogs/DialogLayout.h"

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QSize>

#include <memory>
#include <optional>

class QIcon;
class QSizeGrip;
class TCustomDialogWindow;
class TCustomDlgsUnit;
class TDialogCustomizer;
class TDialogSubControl;

/// The dialog's own controls: one widget, placed in the main rectangle; its own layout
/// decides which control takes the room.
class TDialogMainControl {
public:
    /// `ownSize` is the least room the controls need: the dialog's own natural size.
    TDialogMainControl(QWidget* controls, QSize ownSize) : m_controls(controls), m_minSize(ownSize) {}
    virtual ~TDialogMainControl() = default;
    QSize MinRect() const { return m_minSize; }
    void SetRect(const QRect& r);
    QWidget* Controls() const { return m_controls; }

private:
    QPointer<QWidget> m_controls;
    QSize m_minSize;
};

/// What a customisable dialog supplies: which customizer and which main control it needs.
class TCustomizePartsFactory {
public:
    virtual ~TCustomizePartsFactory() = default;
    virtual std::unique_ptr<TDialogCustomizer> CreateDialogCustomizer() const = 0;
    virtual std::unique_ptr<TDialogMainControl> CreateDialogMainControl(TDialogCustomizer* customizer) const;
};

/// The factory every customisable dialog uses: a dialog that lays out its own controls
/// when resized gets a sizing customizer, any other a fixed one.
class TDialogPartsFactory : public TCustomizePartsFactory {
public:
    explicit TDialogPartsFactory(bool sizesItself) : m_sizesItself(sizesItself) {}
    std::unique_ptr<TDialogCustomizer> CreateDialogCustomizer() const override;

private:
    bool m_sizesItself;
};

class TDialogCustomizer : public QObject {
    Q_OBJECT
public:
    explicit TDialogCustomizer(bool fixedLayout);
    ~TDialogCustomizer() override;

    /// Takes the dialog and the unit; nothing without both.
    void RegistDialog(TCustomDlgsUnit* unit, TCustomDialogWindow* dialog, const TCustomizePartsFactory& factory);
    /// Sizes the window (at least its minimum, at most its screen) and places it: at `last`
    /// when that lies on a present screen, else centred at a third of the screen's height.
    void StartCustomize(const std::optional<QRect>& last);
    /// The window's rectangle (frame corner, client size), for the next opening.
    QRect FinishCustomize();
    /// The unit's settings changed: lays the dialog out again.
    void UpdateProperty();
    /// `gone` is being destroyed; it may be the adopted sub form, which must not be touched.
    void SubFormGone(const QObject* gone);

    void SetSystemIcon(const QIcon& icon);
    QString GetCaption() const;
    void SetCaption(const QString& caption);
    QPoint GetPosition() const;
    void SetPosition(const QPoint& p);

    /// True when the dialog does not lay out its own controls: live changes are then taken.
    bool FixedLayout() const { return m_fixedLayout; }
    const TDialogEdgeSpace& NowEdgeSpace() const { return m_nowEdgeSpace; }
    QSize MinDialogSize() const { return m_minDialogSize; }
    TCustomDialogWindow* Dialog() const;

protected:
    virtual void InitializeDialog() {}
    virtual void FinalizeDialog() {}
    /// Adopts the sub form and sizes the window to `size`, held to its limits.
    virtual void Customize(QSize size);
    /// Whether room beyond the minimum goes to the spaces of sides that are not anchored.
    virtual bool SharesSpareRoom() const { return false; }
    /// Whether the user may resize the window.
    virtual bool Resizable() const { return true; }
    void LayOut();

    bool eventFilter(QObject* watched, QEvent* event) override;

    QPointer<TCustomDialogWindow> m_dialog;
    TCustomDlgsUnit* m_unit = nullptr;
    QPointer<QSizeGrip> m_grip;

private:
    void RecreateDialogSubControl();
    void GetMinDialogSize();
    QRect ScreenRect() const;

    bool m_fixedLayout;
    bool m_started = false;
    QString m_ownCaption;
    TDialogEdgeSpace m_nowEdgeSpace;
    std::unique_ptr<TDialogMainControl> m_mainControl;
    std::unique_ptr<TDialogSubControl> m_subControl;
    QSize m_minDialogSize;
};

/// For a dialog of fixed size: resizable with a grip only when the unit asks for sizing at
/// opening time; spare room goes to the unanchored spaces.
class TFixedDialogCustomizer : public TDialogCustomizer {
public:
    TFixedDialogCustomizer() : TDialogCustomizer(true) {}

protected:
    void InitializeDialog() override;
    void Customize(QSize size) override;
    bool SharesSpareRoom() const override { return true; }
    bool Resizable() const override { return m_sizing; }

private:
    bool m_sizing = false;
};

/// For a dialog that sizes itself: always resizable; the package only adds the sub form.
class TSizingDialogCustomizer : public TDialogCustomizer {
public:
    TSizingDialogCustomizer() : TDialogCustomizer(false) {}

protected:
    void InitializeDialog() override;
};
