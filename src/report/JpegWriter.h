// JPEG encoding of page pictures through libjpeg.
#pragma once

#include <cstddef>
#include <string>

/// Outcome of an encoding: the JPEG file's bytes, or a message when `ok` is false.
struct JpegResult {
    bool ok = false;
    std::string bytes;
    std::string message;
};

/// Encodes a picture of `width` x `height` pixels given as rows of 8-bit R, G, B triples,
/// `rowStride` bytes apart, at `quality` 1-100 (pages are saved at 100). Baseline JPEG with
/// 4:4:4 sampling, so thin coloured text keeps its colour.
JpegResult EncodeJpeg(const unsigned char* rgb, int width, int height, std::size_t rowStride,
                      int quality = 100);
