// A printed or previewed page as a plain list of drawing operations in device units.
#pragma once

#include "dvh/Records.h"

#include <functional>
#include <string>
#include <variant>
#include <vector>

/// Text whose top-left corner is at (`X`, `Y`). With `Opaque` the text's cell is filled with
/// white first, so it stays readable over anything drawn before it. A `MaxWidth` above 0 keeps
/// the text within that many device units: where the device measures it wider, its end gives
/// way to an ellipsis.
struct PageText {
    int X = 0;
    int Y = 0;
    std::string Text;  ///< 8-bit, as the plan holds it
    int PointSize = 9;
    bool Bold = false;
    TColor Color = 0;
    bool Opaque = true;
    int MaxWidth = 0;
};

/// A rectangle of the page from (`Left`, `Top`) up to but not including (`Right`, `Bottom`).
struct PageBox {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    bool Meets(const PageBox& o) const {
        return Left < o.Right && o.Left < Right && Top < o.Bottom && o.Top < Bottom;
    }
};

/// The rectangle a text covers on the device that draws the page, in its units: what only
/// that device's fonts can tell.
using PageTextMeasure = std::function<PageBox(const PageText&)>;

/// A straight line between two points, `Width` device units thick.
struct PageLine {
    int X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
    int Width = 1;
    TColor Color = 0;
};

/// A filled rectangle without outline, from (`Left`, `Top`) up to but not including
/// (`Right`, `Bottom`).
struct PageRectangle {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    TColor Color = 0;
};

/// The rectangle a chart is drawn into; `Chart` tells the painter which chart (pages with one
/// chart use 0).
struct PageChart {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    int Chart = 0;
};

using PageOperation = std::variant<PageText, PageLine, PageRectangle, PageChart>;

/// A page of `Width` x `Height` device units and what is drawn on it, in drawing order.
struct PageDrawing {
    double Width = 0;
    double Height = 0;
    std::vector<PageOperation> Operations;
};

/// A page coordinate: `fraction` of the page extent `extent`, truncated toward zero.
inline int PageUnit(double fraction, double extent) { return static_cast<int>(fraction * extent); }
