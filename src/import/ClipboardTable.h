// What a text copied from BrainSCAN or iPlan holds: its kind, its structure names, its dose.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

/// The kinds of clipboard text the BrainLAB import takes apart.
enum class ClipboardKind {
    Nothing,           ///< no text at all
    BrainScanTable,    ///< every structure a column, names after a leading TAB
    IPlanTable,        ///< "Dose" and every structure a column, "[%]" or "[Gy]" doses
    IPlanCurvePercent, ///< one iPlan curve over dose in % of its reference dose
    IPlanCurveGy,      ///< one iPlan curve over dose in Gy
    Other,             ///< text of no known kind
};

struct ClipboardRecognition {
    ClipboardKind Kind = ClipboardKind::Nothing;
    /// iPlan table only: the reference dose as written in line 2, "None" for doses in Gy.
    std::string DoseText;
};

/// The text with every line end (LF, CR LF or a lone CR) written as CR LF.
std::string NormaliseLineEnds(std::string_view text);

/// Tells the kinds apart, as the toolbar command does. Line ends may be CR LF, LF or CR alone.
ClipboardRecognition ClassifyClipboardText(std::string_view text);
/// The capture window's own test of one copied iPlan curve: "Dose" first, no "[ccm]" below
/// line 1, line 2 beginning "[%]" (`IPlanCurvePercent`) or "[Gy]" (`IPlanCurveGy`), line 3
/// beginning "0.000"; `Nothing` for no text, `Other` for anything else. Unlike the toolbar it
/// does not look for a table: a curve whose line 2 writes its unit in every cell is a curve.
ClipboardKind ClassifyCopiedCurve(std::string_view text);

/// The lines of a copied text, split at CR LF, LF or a lone CR. A text ending in a line end
/// has no empty last line.
std::vector<std::string_view> ClipboardLines(std::string_view text);
/// The TAB-separated fields of a line.
std::vector<std::string_view> TabFields(std::string_view line);

/// BrainSCAN names: every field of line 1 after the first, the text after the last TAB too.
std::vector<std::string> BrainScanNames(std::string_view text);
/// iPlan table names: the fields of line 1 after the first that a TAB follows.
std::vector<std::string> IPlanTableNames(std::string_view text);

/// The item of a "Normal Tissue" list ("---" then `names`) to preselect: the last name equal
/// to one of `candidates` without regard to case, 0 ("---") for none.
int NormalTissueItem(const std::vector<std::string>& names, std::initializer_list<std::string_view> candidates);
