// Writes large, realistic plan DVH exports for the benchmarks: hundreds of structures with
// smooth cumulative curves in 1 cGy bins, streamed to disk so the generator holds no copy.
#pragma once

#include <cmath>
#include <cstdio>
#include <string>

namespace bench {

struct GeneratedExport {
    std::string path;
    long long bytes = 0;
    long long rows = 0;
    int structures = 0;
};

namespace detail {

/// Relative cumulative volume (%) of a structure whose doses spread around `d50` Gy.
inline double Volume(double doseGy, double d50, double width) {
    return doseGy <= 0 ? 100.0 : 100.0 / (1.0 + std::exp((doseGy - d50) / width));
}

inline void Labelled(std::FILE* f, const char* label, const char* value) {
    std::fprintf(f, "%-21s: %s\r\n", label, value);
}

}  // namespace detail

/// Writes an export of `fileType` 12 (description header, fixed columns, the common modern
/// layout) or 2 ("Plan" header, TAB rows) to `path`: `structures` blocks, doses 0 to `maxCGy`
/// in 1 cGy bins (80 Gy: 8001 rows a structure), prescribed dose 78 Gy, CR LF line ends.
inline GeneratedExport GenerateExport(const std::string& path, int fileType, int structures = 300,
                                      int maxCGy = 8000) {
    using detail::Labelled;
    GeneratedExport out{path, 0, 0, structures};
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return out;
    static char buffer[1 << 16];
    std::setvbuf(f, buffer, _IOFBF, sizeof buffer);
    const bool blocks = fileType == 12;
    const double rx = 78.0;

    Labelled(f, "Patient Name", "Bench, Large (BM-0001) (BENCH)");
    Labelled(f, "Patient ID", "BM-0001");
    Labelled(f, "Comment", "DVHs for one plan");
    Labelled(f, "Date", "01.02.2025  08:00:00");
    Labelled(f, "Type", "Cumulative Dose Volume Histogram");
    if (blocks) {
        Labelled(f, "Description", "The cumulative DVH displays the percentage (relative)");
        std::fputs("                       or volume (absolute) of structures that receive a dose\r\n"
                   "                       equal to or greater than a given dose.\r\n\r\n"
                   "Plan: BenchPlan\r\nPrescribed dose [cGy]: 7800.0\r\n% for dose (%): 100.0\r\n\r\n", f);
    } else {
        Labelled(f, "Plan", "BenchPlan - B1");
        Labelled(f, "Prescribed dose [cGy]", "7800.0");
        std::fputs("\r\n", f);
    }
    for (int s = 0; s < structures; ++s) {
        const double d50 = 5.0 + std::fmod(s * 7.3, 75.0);
        const double width = 0.6 + std::fmod(s * 1.7, 6.0);
        const double volume = 2.0 + std::fmod(s * 37.1, 900.0);
        const double mean = d50, mn = std::fmax(0.0, d50 - 6 * width), mx = d50 + 6 * width;
        char name[32];
        std::snprintf(name, sizeof name, s == structures - 1 ? "Body" : "Structure_%03d", s);
        if (blocks) {
            std::fprintf(f,
                         "Structure: %s\r\nApproval Status: Approved\r\nPlan: BenchPlan\r\nCourse: C1\r\n"
                         "Volume [cm\xB3]: %.1f\r\nDose Cover.[%%]: 100.0\r\nSampling Cover.[%%]: 100.0\r\n"
                         "Min Dose [cGy]: %.1f\r\nMax Dose [cGy]: %.1f\r\nMean Dose [cGy]: %.1f\r\n"
                         "Modal Dose [cGy]: %.1f\r\nMedian Dose [cGy]: %.1f\r\nSTD [cGy]: %.1f\r\n"
                         "Equiv. Sphere Diam. [cm]: N/A\r\nConformity Index: N/A\r\nGradient Measure [cm]: N/A\r\n\r\n"
                         "%17s%20s%36s\r\n",
                         name, volume, mn * 100, mx * 100, mean * 100, mean * 100, mean * 100, width * 100,
                         "Dose [cGy]", "Relative dose [%]", "Ratio of Total Structure Volume [%]");
        } else {
            std::fprintf(f, "%-21s: B1 - %s\r\n", "Histogram", name);
            Labelled(f, "Prescribed dose [cGy]", "7800.0");
            std::fputs("Plan                 : BenchPlan\r\nCourse               : C1\r\n", f);
            std::fprintf(f, "%-21s: %.1f\r\n%-21s: %.1f\r\n%-21s: %.1f\r\n%-21s: %.1f\r\n", "Volume [cm^3]", volume,
                         "Min dose [cGy]", mn * 100, "Max dose [cGy]", mx * 100, "Mean dose [cGy]", mean * 100);
            std::fputs("Modal dose [cGy]     : 0\r\nSampling cover. [%]  : 100\r\n"
                       "Median dose [cGy]    : 0\r\nSTD [cGy]            : 0\r\n"
                       "Dose [cGy]\tRatio of Total Structure Volume [%]\tRelative dose [%]\r\n", f);
        }
        for (int c = 0; c <= maxCGy; ++c) {
            const double v = detail::Volume(c / 100.0, d50, width);
            if (blocks)
                std::fprintf(f, "%17d%20.6g%26.6g\r\n", c, c / rx, v);
            else
                std::fprintf(f, "%d\t%.6g\t%.6g\r\n", c, v, c / rx);
            ++out.rows;
        }
        std::fputs(blocks ? "\r\n" : "\r\n\r\n", f);
    }
    out.bytes = std::ftell(f);
    std::fclose(f);
    return out;
}

}  // namespace bench
