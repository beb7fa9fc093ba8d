// Geometry of the customisable dialogs.
#include "dialogs/DialogLayout.h"

#include <algorithm>
#include <cstdint>

TDialogEdgeSpace::TDialogEdgeSpace(unsigned left, unsigned top, unsigned right, unsigned bottom) {
    TDialogEdgeSpace::SetAllEdgeSpace(left, top, right, bottom);
}

void TDialogEdgeSpace::Assign(const TDialogEdgeSpace& source) {
    SetAllEdgeSpace(source.m_space[0], source.m_space[1], source.m_space[2], source.m_space[3]);
}

void TDialogEdgeSpace::SetEdgeSpace(int index, unsigned value) {
    if (index >= 0 && index < 4) m_space[index] = value;
}

void TDialogEdgeSpace::SetAllEdgeSpace(unsigned left, unsigned top, unsigned right, unsigned bottom) {
    m_space[0] = left;
    m_space[1] = top;
    m_space[2] = right;
    m_space[3] = bottom;
}

bool TDialogEdgeSpace::operator==(const TDialogEdgeSpace& other) const {
    return std::equal(m_space, m_space + 4, other.m_space);
}

namespace {

// Edge spaces are unsigned settings; sizes are ints. A huge setting must not wrap.
int AsInt(unsigned value) { return int(std::min<unsigned>(value, 1u << 24)); }

/// Shrinks the two spaces of one axis in proportion so the controls keep `minimum` of
/// `extent`; with no room left at all both are 0.
void ShrinkToFit(int extent, int minimum, int& first, int& second) {
    const int both = first + second;
    if (both == 0 || minimum <= extent - both) return;
    const int room = std::max(0, extent - minimum);
    first = int(std::int64_t(first) * room / both);
    second = room - first;
}

/// Gives spare room along one axis to the spaces whose sides are not anchored.
void ShareSpare(int spare, bool firstFree, bool secondFree, int& first, int& second) {
    if (spare <= 0) return;
    if (first != 0 && second != 0 && firstFree && secondFree) {
        const int share = int(std::int64_t(first) * spare / (first + second));
        first += share;
        second += spare - share;
    } else if (first != 0 && firstFree) {
        first += spare;
    } else if (second != 0 && secondFree) {
        second += spare;
    }
}

}  // namespace

LayoutSize MinClientSize(LayoutSize mainMin, LayoutSize subMin, TSubFormPos pos, const TDialogEdgeSpace& minEdge) {
    LayoutSize size = mainMin;
    switch (pos) {
    case fpLeft:
    case fpRight:
        size.width += subMin.width;
        size.height = std::max(size.height, subMin.height);
        break;
    case fpTop:
    case fpBottom:
        size.height += subMin.height;
        size.width = std::max(size.width, subMin.width);
        break;
    case fpClient:
        if (subMin.IsEmpty()) break;
        size.width += AsInt(minEdge.LeftSpace()) + AsInt(minEdge.RightSpace());
        size.height += AsInt(minEdge.TopSpace()) + AsInt(minEdge.BottomSpace());
        if (minEdge.TopSpace() || minEdge.BottomSpace()) size.width = std::max(size.width, subMin.width);
        if (minEdge.LeftSpace() || minEdge.RightSpace()) size.height = std::max(size.height, subMin.height);
        break;
    }
    return size;
}

ControlsLayout LayoutControls(LayoutSize client, LayoutSize mainMin, LayoutSize subMin, TSubFormPos pos,
                              const TDialogEdgeSpace& minEdge, bool shareSpare, TSubFormAnchors anchors) {
    int left = 0, top = 0, right = 0, bottom = 0;
    switch (pos) {
    case fpLeft: left = subMin.width; break;
    case fpRight: right = subMin.width; break;
    case fpTop: top = subMin.height; break;
    case fpBottom: bottom = subMin.height; break;
    case fpClient:
        if (!subMin.IsEmpty()) {
            left = AsInt(minEdge.LeftSpace());
            top = AsInt(minEdge.TopSpace());
            right = AsInt(minEdge.RightSpace());
            bottom = AsInt(minEdge.BottomSpace());
        }
        break;
    }
    ShrinkToFit(client.width, mainMin.width, left, right);
    ShrinkToFit(client.height, mainMin.height, top, bottom);
    if (shareSpare) {
        const auto isFree = [anchors](TSubFormAnchorKind kind) { return !(anchors & AnchorBit(kind)); };
        ShareSpare(client.width - left - right - mainMin.width, isFree(faLeft), isFree(faRight), left, right);
        ShareSpare(client.height - top - bottom - mainMin.height, isFree(faTop), isFree(faBottom), top, bottom);
    }

    ControlsLayout layout;
    layout.edge.SetAllEdgeSpace(unsigned(left), unsigned(top), unsigned(right), unsigned(bottom));
    layout.main = {left, top, client.width - right, client.height - bottom};
    layout.sub = {0, 0, client.width, client.height};
    switch (pos) {
    case fpLeft: layout.sub.right = layout.main.left; break;
    case fpRight: layout.sub.left = layout.main.right; break;
    case fpTop: layout.sub.bottom = layout.main.top; break;
    case fpBottom: layout.sub.top = layout.main.bottom; break;
    case fpClient: break;  // behind the dialog's own controls
    }
    return layout;
}

LayoutPoint FirstPosition(const LayoutRect& screen, LayoutSize window) {
    return {screen.left + (screen.Width() - window.width) / 2, screen.top + (screen.Height() - window.height) / 3};
}

LayoutSize ClampSize(LayoutSize wanted, LayoutSize minimum, LayoutSize screen) {
    return {std::min(std::max(wanted.width, minimum.width), screen.width),
            std::min(std::max(wanted.height, minimum.height), screen.height)};
}

LayoutPoint KeepOnScreen(LayoutPoint wanted, LayoutSize size, const std::vector<LayoutRect>& screens,
                         const LayoutRect& own) {
    for (const LayoutRect& screen : screens)
        if (screen.Contains(wanted)) return wanted;
    // Right and bottom first, so a window larger than the screen keeps its corner visible.
    return {std::max(own.left, std::min(wanted.x, own.right - size.width)),
            std::max(own.top, std::min(wanted.y, own.bottom - size.height))};
}

LayoutRect OpeningRect(const std::optional<LayoutRect>& last, LayoutSize minimum,
                       const std::vector<LayoutRect>& screens, const LayoutRect& primary) {
    if (last) {
        const LayoutPoint corner{last->left, last->top};
        for (const LayoutRect& screen : screens) {
            if (!screen.Contains(corner)) continue;
            const LayoutSize size =
                ClampSize({last->Width(), last->Height()}, minimum, {screen.Width(), screen.Height()});
            return {corner.x, corner.y, corner.x + size.width, corner.y + size.height};
        }
    }
    const LayoutSize size = ClampSize({0, 0}, minimum, {primary.Width(), primary.Height()});
    const LayoutPoint at = FirstPosition(primary, size);
    return {at.x, at.y, at.x + size.width, at.y + size.height};
}
