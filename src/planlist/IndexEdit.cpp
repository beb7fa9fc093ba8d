// Index editor rules: loading a row into fields, checking and writing the fields back.
#include "planlist/IndexEdit.h"

#include "dvh/NumberText.h"
#include "dvh/RoundToDigits.h"
#include "dvh/TypedNumber.h"

#include <cmath>
#include <optional>

namespace {

float Round2(double value) { return static_cast<float>(RoundToDigits(value, 2)); }

// Parses `text` into `value`; false when it is no number.
bool Parse(const std::string& text, char separator, double& value) {
    const std::optional<double> parsed = ParseTypedNumber(text, separator);
    if (parsed) value = *parsed;
    return parsed.has_value();
}

// Parses `text` when it is not empty; an empty text is fine and leaves `parsed` false.
bool CheckOptional(const std::string& text, char separator, double& value, bool& parsed) {
    parsed = !text.empty();
    return !parsed || Parse(text, separator, value);
}

}  // namespace

std::string FormatRounded2(double value, char decimalSeparator) {
    std::string s = FormatGeneral(RoundToDigits(value, 2));
    for (char& c : s)
        if (c == '.') c = decimalSeparator;
    return s;
}

IndexEdit IndexEditFromRow(const IndexDataClass& row, char decimalSeparator) {
    IndexEdit e;
    e.Structure = row.Name;
    e.Kind = row.Items;
    e.CIReference = row.ItemsCI;
    e.ValueCIText = FormatRounded2(row.ValueCI, decimalSeparator);
    if (!row.Name.empty()) {
        e.ValueText = FormatRounded2(row.Value, decimalSeparator);
        e.FontColor = RgbColor(row.ConstraintFontColorR, row.ConstraintFontColorG,
                               row.ConstraintFontColorB);
    }
    if (row.ConstraintsON) {
        e.Constraint = row.Constraints >= 0 ? ConstraintChoice::Upper : ConstraintChoice::Lower;
        e.ConstraintText = FormatRounded2(std::fabs(row.Constraints), decimalSeparator);
    }
    e.ConstraintView = row.ConstraintsView;
    e.Print = row.IndexPrint;
    return e;
}

IndexEditStatus ApplyIndexEdit(PlanListNameClass& list, int indexRow, const IndexEdit& edit,
                               bool headsGroup, char decimalSeparator) {
    if (list.Lock || indexRow < 0 || indexRow >= list.IndexDataCount())
        return IndexEditStatus::NoRow;

    // Check every number before anything changes.
    const bool ciKind = edit.Kind == 16;
    const bool ciHasValue = ciKind && edit.CIReference > 3;
    double valueCI = 0;
    if (ciHasValue && !Parse(edit.ValueCIText, decimalSeparator, valueCI))
        return IndexEditStatus::BadValueCI;
    double value = 0;
    bool hasValue = false;
    if (!CheckOptional(edit.ValueText, decimalSeparator, value, hasValue))
        return IndexEditStatus::BadValue;
    double limit = 0;
    bool hasLimit = false;
    if (edit.Constraint != ConstraintChoice::None &&
        !CheckOptional(edit.ConstraintText, decimalSeparator, limit, hasLimit))
        return IndexEditStatus::BadConstraint;

    IndexDataClass& row = list.IndexData[static_cast<std::size_t>(indexRow)];
    const std::string oldName = row.Name;
    row.Name = edit.Structure;
    row.Items = edit.Kind;
    row.ItemsCI = ciKind ? edit.CIReference : -1;
    row.ValueCI = ciHasValue ? Round2(valueCI) : 0.0f;
    if (hasValue) row.Value = Round2(value);
    switch (edit.Constraint) {
        case ConstraintChoice::None:
            row.ConstraintsON = false;
            row.Constraints = 0;
            break;
        case ConstraintChoice::Upper:
            row.ConstraintsON = true;
            if (hasLimit) row.Constraints = Round2(limit);
            break;
        case ConstraintChoice::Lower:
            row.ConstraintsON = true;
            if (hasLimit) row.Constraints = Round2(-limit);
            break;
    }
    row.ConstraintsView = edit.ConstraintView;
    row.ConstraintFontColorR = static_cast<unsigned char>(ColorRed(edit.FontColor));
    row.ConstraintFontColorG = static_cast<unsigned char>(ColorGreen(edit.FontColor));
    row.ConstraintFontColorB = static_cast<unsigned char>(ColorBlue(edit.FontColor));
    row.IndexPrint = edit.Print;
    list.Modified = true;

    if (headsGroup) {
        for (std::size_t r = static_cast<std::size_t>(indexRow) + 1;
             r < list.IndexData.size() && list.IndexData[r].Name == oldName; ++r)
            list.IndexData[r].Name = edit.Structure;
    }
    return IndexEditStatus::Ok;
}
