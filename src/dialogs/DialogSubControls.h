// The sub form inside a customisable dialog: adopted while the dialog is open, given back
// afterwards as it was (parent, window flags, geometry, visibility and window state).
#pragma once

#include <QPointer>
#include <QRect>
#include <QWidget>

class TDialogSubControl {
public:
    virtual ~TDialogSubControl() = default;
    /// The room the sub form asks for: its size when it was adopted.
    virtual QSize GetMinRect() const = 0;
    /// Moves the sub form into `dialog`, hidden.
    virtual void Initialize(QWidget* dialog) = 0;
    virtual void Show() = 0;
    /// Whether this stands for `control`; a sub form that is gone matches nothing.
    virtual bool Compare(const QWidget* control) const = 0;
    virtual void SetRect(const QRect& r) = 0;
    /// The widget placed in the dialog, or nullptr.
    virtual QWidget* MoveControl() const = 0;
    /// `gone` is being destroyed: if it is the sub form, nothing is given back to it.
    virtual void Forget(const QObject* /*gone*/) {}
};

/// No sub form: takes no room, places nothing.
class TSubNULLControl : public TDialogSubControl {
public:
    QSize GetMinRect() const override { return {0, 0}; }
    void Initialize(QWidget*) override {}
    void Show() override {}
    bool Compare(const QWidget* control) const override { return control == nullptr; }
    void SetRect(const QRect&) override {}
    QWidget* MoveControl() const override { return nullptr; }
};

/// Any widget as the sub form: a plain widget, a frame or a top-level window (which also
/// gets back its window state).
class TSubWinControl : public TDialogSubControl {
public:
    explicit TSubWinControl(QWidget* control);
    ~TSubWinControl() override;
    QSize GetMinRect() const override { return m_minSize; }
    void Initialize(QWidget* dialog) override;
    void Show() override;
    bool Compare(const QWidget* control) const override { return control && control == m_control; }
    void SetRect(const QRect& r) override;
    QWidget* MoveControl() const override { return m_control; }
    void Forget(const QObject* gone) override {
        if (gone == m_control) m_control = nullptr;
    }

protected:
    QPointer<QWidget> m_control;

private:
    QPointer<QWidget> m_savedParent;
    Qt::WindowFlags m_savedFlags;
    QRect m_savedGeometry;
    bool m_savedVisible;
    Qt::WindowStates m_savedState;
    QSize m_minSize;
};
