// Geometry of the customisable dialogs, kept free of Qt so the rules are checked as tables:
// the minimum size with a sub form, the split of the client area between the dialog's own
// controls and the sub form, and where a dialog opens.
#pragma once

#include <optional>
#include <vector>

/// Where the sub form goes: beside one edge of the dialog's own controls, or behind them.
enum TSubFormPos { fpLeft, fpTop, fpRight, fpBottom, fpClient };

/// Sides whose edge space keeps its minimum when the dialog grows (a bit set of these).
enum TSubFormAnchorKind { faLeft, faTop, faRight, faBottom };
using TSubFormAnchors = unsigned;
constexpr TSubFormAnchors AnchorBit(TSubFormAnchorKind kind) { return 1u << kind; }
constexpr TSubFormAnchors AllAnchors = 0xF;

struct LayoutSize {
    int width = 0;
    int height = 0;
    bool IsEmpty() const { return width <= 0 || height <= 0; }
    bool operator==(const LayoutSize&) const = default;
};

struct LayoutPoint {
    int x = 0;
    int y = 0;
    bool operator==(const LayoutPoint&) const = default;
};

/// Left and top inside, right and bottom outside, as a window rectangle.
struct LayoutRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool Contains(LayoutPoint p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
    bool operator==(const LayoutRect&) const = default;
};

/// Room between the sub form's edges and the dialog's own controls, one value per side.
class TDialogEdgeSpace {
public:
    TDialogEdgeSpace() = default;
    TDialogEdgeSpace(unsigned left, unsigned top, unsigned right, unsigned bottom);
    virtual ~TDialogEdgeSpace() = default;
    TDialogEdgeSpace(const TDialogEdgeSpace&) = default;
    TDialogEdgeSpace& operator=(const TDialogEdgeSpace&) = default;

    virtual void Assign(const TDialogEdgeSpace& source);
    /// Index 0 to 3 is left, top, right, bottom; any other index changes nothing.
    virtual void SetEdgeSpace(int index, unsigned value);
    virtual void SetAllEdgeSpace(unsigned left, unsigned top, unsigned right, unsigned bottom);

    unsigned LeftSpace() const { return m_space[0]; }
    unsigned TopSpace() const { return m_space[1]; }
    unsigned RightSpace() const { return m_space[2]; }
    unsigned BottomSpace() const { return m_space[3]; }
    unsigned Space(int index) const { return index >= 0 && index < 4 ? m_space[index] : 0; }
    bool operator==(const TDialogEdgeSpace& other) const;

protected:
    unsigned m_space[4] = {0, 0, 0, 0};
};

/// The smallest client area that holds the dialog's own controls and the sub form.
LayoutSize MinClientSize(LayoutSize mainMin, LayoutSize subMin, TSubFormPos pos, const TDialogEdgeSpace& minEdge);

struct ControlsLayout {
    TDialogEdgeSpace edge;  // the spaces in force at this size
    LayoutRect main;        // the dialog's own controls
    LayoutRect sub;         // the sub form
};

/// Splits a client area of `client` between the dialog's own controls and the sub form.
/// Spaces shrink in proportion when the controls would fall below their minimum, down to 0,
/// never below. With `shareSpare` (a dialog that does not lay itself out) room beyond the
/// minimum goes to the spaces of sides that are not anchored.
ControlsLayout LayoutControls(LayoutSize client, LayoutSize mainMin, LayoutSize subMin, TSubFormPos pos,
                              const TDialogEdgeSpace& minEdge, bool shareSpare, TSubFormAnchors anchors);

/// Where a window of `window` first opens on `screen`: centred across, at a third of the
/// free height (divisions truncate toward zero).
LayoutPoint FirstPosition(const LayoutRect& screen, LayoutSize window);

/// `wanted` raised to `minimum`, then held within `screen`.
LayoutSize ClampSize(LayoutSize wanted, LayoutSize minimum, LayoutSize screen);

/// Where a window of `size` goes when asked to move to `wanted`: there when that corner lies
/// on a present screen, else the nearest place wholly on `own`, its own screen.
LayoutPoint KeepOnScreen(LayoutPoint wanted, LayoutSize size, const std::vector<LayoutRect>& screens,
                         const LayoutRect& own);

/// The rectangle a dialog opens at. `last` is where it was when last closed (none: never
/// shown); a size of 0 there means the minimum. A last rectangle whose corner lies on no
/// present screen opens as the first time, on `primary`.
LayoutRect OpeningRect(const std::optional<LayoutRect>& last, LayoutSize minimum,
                       const std::vector<LayoutRect>& screens, const LayoutRect& primary);
