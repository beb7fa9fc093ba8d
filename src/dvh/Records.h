// The in-memory records of plans, structures, DVH points, files and plan lists.
#pragma once

#include "dvh/DvhPointList.h"
#include "platform/FileVersion.h"
#include "platform/OpenedFile.h"

#include <string>
#include <utility>
#include <vector>

/// A colour as the program stores it: red + green*256 + blue*65536.
using TColor = int;

inline TColor RgbColor(int r, int g, int b) { return (r & 255) | ((g & 255) << 8) | ((b & 255) << 16); }
inline int ColorRed(TColor c) { return c & 255; }
inline int ColorGreen(TColor c) { return (c >> 8) & 255; }
inline int ColorBlue(TColor c) { return (c >> 16) & 255; }

/// One structure of a plan with its statistics and curve.
struct DVHDatasetClass {
    std::string Name;
    float PrescribedDose = 0;  // Gy
    float Volume = 0;          // cc
    float MinDoseGy = 0;
    float MinDosePercent = 0;
    float MaxDoseGy = 0;
    float MaxDosePercent = 0;
    float MeanDoseGy = 0;
    float MeanDosePercent = 0;
    float ExtraDose1 = 0;
    float ExtraDose2 = 0;
    /// The curve in file order. Write it whole through `SetPoints`.
    DvhPointList DVset;
    int LineWidth = 2;
    TColor Color = 0;
    bool Visible = true;
    /// Display name; replaces `Name` whenever it is not empty.
    std::string ModifiedName;

    /// Index of the last point (number of points - 1; -1 for none): point loops run up to it.
    int LastDVsetIndex() const { return static_cast<int>(DVset.size()) - 1; }
    /// Replaces the curve. Every reader, import and edit writes points through here, so the
    /// order that index lookups rely on is decided once, here, and never per lookup.
    void SetPoints(std::vector<DVsetClass> points) { DVset.Assign(std::move(points)); }
    /// `ModifiedName` when set, else `Name`: curve titles, dialog lists, index-row matching.
    const std::string& DisplayName() const { return ModifiedName.empty() ? Name : ModifiedName; }
};

/// DVH file type codes of the recognisers.
enum DvhFileType : int {
    FileTypeUnreadable = 0,
    FileTypePlan = 2,
    FileTypePlanSum = 3,
    FileTypeSeveralPlans = 4,
    FileTypeBrainScan = 5,
    FileTypeIPlan = 6,
    FileTypeXiO = 7,
    FileTypePlanDescription = 12,
    FileTypePlanSumDescription = 13,
    FileTypeMultiDescription = 14,
};

/// What a plan's read took of the ".mod" companion beside its export: a save into the store
/// replaces a companion only while it is still what the read took.
struct CompanionVersion {
    enum class State {
        TookNone,    ///< the read took no companion (an export read alone, the batch's read)
        None,        ///< there was none beside the export
        Read,        ///< `Version` was read
        Unreadable,  ///< one was there and could not be read, for `Problem`
    };
    State Took = State::TookNone;
    /// The companion's identity and the digest of the bytes read; unknown unless `Read`.
    platform::FileVersion Version;
    /// Why the companion there could not be read; `None` unless `Unreadable`.
    platform::OpenProblem Problem = platform::OpenProblem::None;

    static CompanionVersion Missing() { return {State::None, {}, {}}; }
    static CompanionVersion Of(const platform::FileVersion& read) { return {State::Read, read, {}}; }
    static CompanionVersion CouldNotRead(platform::OpenProblem why) { return {State::Unreadable, {}, why}; }
    bool operator==(const CompanionVersion&) const = default;
};

/// One loaded plan.
struct PDatasetClass {
    std::string Key;
    std::string FilePath;
    std::string PatientName;
    std::string PatientID;
    std::string PatientExtra;
    std::string Date;
    std::string Time;
    std::string PlanName;
    std::string PlanID;
    int FileType = 0;
    std::vector<DVHDatasetClass> DVHDataset;
    /// The structure named "Body" (case ignored), -1 for none.
    int BodyIndex = -1;
    /// Index into the plan lists, -1 for none.
    int PlanListIndex = -1;
    /// The version of `FilePath` its structures and names were read from (unknown for a plan
    /// made otherwise): a save keeps that export, as it was read, or nothing.
    platform::FileVersion ExportRead;
    /// The companion beside `FilePath` as that read took it: a save of the plan into the store
    /// entry it was read from replaces that companion, or nothing.
    CompanionVersion CompanionRead;
    /// The file the plan was opened from, which its row in the file list names. `FilePath` is
    /// the file the plan reads and saves, an entry of the store once it saved one; the row keeps
    /// naming this (for a plan from the clipboard, the path of no file it was made with), so that
    /// deleting a row never takes an entry's export away from its companion.
    std::string OpenedFrom;

    int DVHDatasetCount() const { return static_cast<int>(DVHDataset.size()); }
};

/// One DVH file the program knows of (a row of the open-file list).
struct OpenFileClass {
    std::string FilePath;
    std::string PatientName;
    std::string PatientID;
    std::string PatientExtra;
    std::string Date;
    std::string Time;
    std::string PlanName;
    std::string PlanID;
    int FileType = 0;
    std::string Key;
};

/// One index row of a plan list; the field names are the plan-list file's keys.
struct IndexDataClass {
    std::string Name;  // structure; "" is an empty row
    int Items = -1;    // index kind 0-16, -1 for a cleared row
    float Value = 0;
    bool ConstraintsON = false;
    float Constraints = 0;  // > 0 upper limit, < 0 lower limit of its absolute value, 0 none
    bool ConstraintsView = false;
    unsigned char ConstraintFontColorR = 0;
    unsigned char ConstraintFontColorG = 0;
    unsigned char ConstraintFontColorB = 0;
    int ItemsCI = -1;  // conformity-index reference 0-7, -1 for a cleared row
    float ValueCI = 0;
    bool IndexPrint = true;
};

/// One structure of a plan list's structure database: its fixed colour and visibility.
struct StructureDBClass {
    std::string Name;
    bool SetColor = false;
    unsigned char ColorR = 0;
    unsigned char ColorG = 0;
    unsigned char ColorB = 0;
    bool View = false;
};

/// One plan list: the structure database and the index rows of a protocol.
struct PlanListNameClass {
    std::string Name;
    std::vector<IndexDataClass> IndexData;
    std::vector<StructureDBClass> StructureDB;
    std::vector<std::string> SNameDB;
    bool Modified = false;
    bool Lock = false;
    /// Set when the list's file exists but could not be read: such a list must never be
    /// saved over its file, which still holds the real content.
    bool Unreadable = false;

    int IndexDataCount() const { return static_cast<int>(IndexData.size()); }
    int StructureDBCount() const { return static_cast<int>(StructureDB.size()); }
};
