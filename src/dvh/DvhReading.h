// What the plan DVH readers share: their options, their result, progress and unit rules.
#pragma once

#include "dvh/LineCursor.h"
#include "dvh/PointKeeper.h"
#include "dvh/ReadResult.h"
#include "dvh/Records.h"
#include "dvh/WorkspaceHost.h"
#include "platform/OpenedFile.h"
#include "platform/Processors.h"

#include <cmath>
#include <string_view>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

/// A plan read into a temporary, committed to the workspace only when the whole read succeeded.
struct ParsedPlan {
    std::vector<DVHDatasetClass> DVHDataset;
    /// The last structure named "Body" without regard to case, -1 for none.
    int BodyIndex = -1;
    /// The text ends without a line end, or a structure has no table row: the file was most
    /// likely cut short. What it holds is read, and the user is told.
    bool LooksCutShort = false;
};

/// The status-bar text for a plan read from a file that looks cut short.
std::string CutShortText(const std::string& path);

/// The progress bar of a read: maximum 40, one step per line of the main loop up to 39, then
/// filled at the end (also after a failure).
class ReadProgress {
public:
    explicit ReadProgress(WorkspaceHost* host) : m_host(host) {
        if (m_host) m_host->ProgressBegin(kMaximum);
    }
    ~ReadProgress() { Finish(); }
    ReadProgress(const ReadProgress&) = delete;
    ReadProgress& operator=(const ReadProgress&) = delete;

    void LineRead() {
        if (m_position < kMaximum - 1) {
            ++m_position;
            if (m_host) m_host->ProgressStep(m_position);
        }
    }
    void Finish() {
        if (m_finished) return;
        m_finished = true;
        while (m_position < kMaximum) {
            ++m_position;
            if (m_host) m_host->ProgressStep(m_position);
        }
        if (m_host) m_host->ProgressEnd();
    }
    int Position() const { return m_position; }

    static constexpr int kMaximum = 40;

private:
    WorkspaceHost* m_host;
    int m_position = 0;
    bool m_finished = false;
};

/// How to read a plan export.
struct DvhReadOptions {
    /// 2 or 3 for `ParseDvhFile`, 12 or 13 for `ParseDvhTextBlocks`.
    int FileType = 0;
    /// Gy; the prescribed dose of a plan sum (codes 3 and 13), asked from the user. Must be > 0.
    float PlanSumDoseGy = 0;
    /// Codes 2 and 3: also take `ExtraDose1` and `ExtraDose2` from block lines 8 and 10.
    bool ReadExtraDoses = false;
    /// Advanced once per line of the main loop; may be null.
    ReadProgress* Progress = nullptr;
    /// Whether the read takes threads beside its own (long tables' pieces, the copies of their
    /// points, the read-ahead of a file read by `ReadPlanExportFile`) by the machine's load when
    /// it first needs them, or whatever the load.
    platform::ThreadUse Threads = platform::ThreadUse::ByLoad;
};

namespace dvhread {

/// `part` in % of `whole`; 0 when `whole` is 0 or below (an empty structure), never infinite.
inline double PercentOf(double part, double whole) { return whole > 0 ? part / whole * 100.0 : 0.0; }

/// A dose statistic: relative (% of `prescribedGy`) or absolute (times `factor` to Gy); both
/// fields filled. `prescribedGy` is above 0 (the readers refuse anything else).
inline void SetDose(double v, bool relative, double factor, double prescribedGy, float& gy, float& percent) {
    if (relative) {
        percent = static_cast<float>(v);
        gy = static_cast<float>(v * 0.01 * prescribedGy);
    } else {
        gy = static_cast<float>(v * factor);
        percent = static_cast<float>(v * factor * 100.0 / prescribedGy);
    }
}

/// All four values of a point are finite (a value too large for a float is not).
inline bool Finite(const DVsetClass& p) {
#if defined(__SSE2__)
    // A float is infinite or NaN exactly when its exponent bits are all set: the four are
    // looked at together, one check for every table row.
    const __m128i exponentBits = _mm_set1_epi32(0x7F800000);
    const __m128i bits = _mm_and_si128(
        _mm_castps_si128(_mm_setr_ps(p.DosePercent, p.DoseGy, p.VolumePercent, p.VolumeCc)), exponentBits);
    return _mm_movemask_epi8(_mm_cmpeq_epi32(bits, exponentBits)) == 0;
#else
    return std::isfinite(p.DoseGy) && std::isfinite(p.DosePercent) && std::isfinite(p.VolumeCc) &&
           std::isfinite(p.VolumePercent);
#endif
}

/// Moves a table's points from the scratch vector into structure `s` with little spare room. A
/// scratch that holds at most an eighth more than its points is handed over whole, and the next
/// table's scratch reserves as many points as this table held (what the text held, never a
/// count read from it); otherwise the points are copied into an exact vector and the scratch
/// kept for the next table.
inline void KeepPoints(std::vector<DVsetClass>& scratch, DVHDatasetClass& s) {
    const std::size_t n = scratch.size();
    if (scratch.capacity() - n <= n / 8) {
        s.SetPoints(std::move(scratch));
        scratch = std::vector<DVsetClass>();
        scratch.reserve(n);
    } else {
        s.SetPoints(std::vector<DVsetClass>(scratch.begin(), scratch.end()));
        scratch.clear();
    }
}

/// Why a file could not be read at all: `NotAFile` for a folder, FIFO or device, else `NotFound`.
inline ReadResult OpenFailure(const LineCursor& lines) {
    const platform::OpenProblem problem = lines.OpenProblem();
    const bool noFile = problem == platform::OpenProblem::Folder || problem == platform::OpenProblem::NotRegular;
    return ReadResult::Fail(noFile ? ReadStatus::NotAFile : ReadStatus::NotFound, 0,
                            "it " + platform::OpenProblemText(problem));
}

/// The failure of a read that met a line longer than the cursor takes.
inline ReadResult LineTooLong(const LineCursor& lines) {
    return ReadResult::Fail(ReadStatus::LineTooLong, lines.LineNumber() + 1, "the line is longer than 1 MiB");
}

/// The failure of a read whose file could not be read further part-way.
inline ReadResult ReadFailure(const LineCursor& lines) {
    return ReadResult::Fail(ReadStatus::ReadError, lines.LineNumber(), "reading the file failed");
}

/// Index of the last structure named "Body" without regard to case, -1 for none.
int FindBodyIndex(const std::vector<DVHDatasetClass>& structures);

/// The main loop both readers share: each line is one progress step; a line that
/// `isBlockLine` accepts starts a structure, read by `readBlock(line, structure, points, pieces)`,
/// which leaves the table's points in `points`, followed by any it read apart in `pieces`. The
/// plan reaches `out` only when the whole text has been read without failure.
template <class IsBlockLine, class ReadBlock>
ReadResult ReadBlocks(LineCursor& lines, const DvhReadOptions& options, IsBlockLine isBlockLine, ReadBlock readBlock,
                      ParsedPlan& out) {
    ParsedPlan plan;
    PointKeeper keeper(options.Threads);
    std::string_view line;
    while (lines.Next(line)) {
        if (options.Progress) options.Progress->LineRead();
        if (!isBlockLine(line)) continue;
        plan.DVHDataset.emplace_back();
        ReadResult r = readBlock(line, plan.DVHDataset.back(), keeper.Scratch(), keeper.Pieces());
        if (lines.LineTooLong()) return LineTooLong(lines);
        if (!r) return r;
        if (keeper.Scratch().empty() && keeper.Pieces().Points() == 0) plan.LooksCutShort = true;
        keeper.Keep(plan.DVHDataset, plan.DVHDataset.size() - 1);
    }
    keeper.Finish(plan.DVHDataset);
    if (lines.LineTooLong()) return LineTooLong(lines);
    if (lines.ReadFailed()) return ReadFailure(lines);
    if (lines.EndedInsideLine()) plan.LooksCutShort = true;
    if (plan.DVHDataset.empty()) return ReadResult::Fail(ReadStatus::NoStructures, 0, "no structure in the file");
    plan.BodyIndex = FindBodyIndex(plan.DVHDataset);
    out = std::move(plan);
    return {};
}

}  // namespace dvhread
