#include "capture/png_format.h"

#include <zlib.h>

#include <algorithm>
#include <cstdlib>
#include <new>
#include <stdexcept>
#include <system_error>
#include <thread>
#include <vector>

namespace {

constexpr unsigned char kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
// The largest width, height and chunk length the format allows.
constexpr uint32_t kMaxPngValue = 0x7FFFFFFF;
// zlib's two header bytes: deflate with a 32 KiB window, no dictionary; divisible by 31 as the
// format requires.
constexpr unsigned char kZlibHeader[] = {0x78, 0x5E};
// Long streams are cut into IDAT chunks of this size.
constexpr size_t kIdatBytes = 1 << 20;
// Below this many rows a strip of its own is not worth a thread.
constexpr int kMinStripRows = 64;

enum Filter : unsigned char { kNone = 0, kSub = 1, kUp = 2, kAverage = 3, kPaeth = 4 };

void PutBigEndian(std::string& out, uint32_t value) {
    out += static_cast<char>(value >> 24);
    out += static_cast<char>(value >> 16);
    out += static_cast<char>(value >> 8);
    out += static_cast<char>(value);
}

void PutChunk(std::string& out, const char type[4], const unsigned char* data, size_t length) {
    PutBigEndian(out, static_cast<uint32_t>(length));
    const size_t start = out.size();
    out.append(type, 4);
    if (length > 0) out.append(reinterpret_cast<const char*>(data), length);
    const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(out.data() + start), static_cast<uInt>(length + 4));
    PutBigEndian(out, static_cast<uint32_t>(crc));
}

// Row y of the picture as the file's bytes before filtering: R, G, B (and A).
void RawRow(const PngPicture& picture, int y, unsigned char* row) {
    const uint32_t* pixel = picture.pixels + static_cast<size_t>(y) * picture.stride;
    for (int x = 0; x < picture.width; ++x) {
        const uint32_t c = pixel[x];
        *row++ = static_cast<unsigned char>(c >> 16);
        *row++ = static_cast<unsigned char>(c >> 8);
        *row++ = static_cast<unsigned char>(c);
        if (picture.alpha) *row++ = static_cast<unsigned char>(c >> 24);
    }
}

int PaethPredictor(int a, int b, int c) {
    const int p = a + b - c;
    const int pa = std::abs(p - a);
    const int pb = std::abs(p - b);
    const int pc = std::abs(p - c);
    if (pa <= pb && pa <= pc) return a;
    return pb <= pc ? b : c;
}

// The usual estimate of how well filtered bytes compress: their sum read as signed magnitudes.
inline unsigned Magnitude(unsigned char value) { return value < 128 ? value : 256u - value; }

// Filters row (after prior, the row above: zeros for the first) into out: its filter's number,
// then the filtered bytes. Rows of flat content keep their bytes (filter None), which lets
// deflate find the repeats of text and panels; other rows get whichever of Sub, Up and Paeth
// leaves the smallest bytes by the usual estimate.
void FilterRow(const unsigned char* row, const unsigned char* prior, size_t length, size_t bpp, bool flat,
               unsigned char* out) {
    if (flat) {
        out[0] = kNone;
        std::copy(row, row + length, out + 1);
        return;
    }
    unsigned long sub = 0, up = 0, paeth = 0;
    for (size_t i = 0; i < length; ++i) {
        const int a = i >= bpp ? row[i - bpp] : 0;
        const int c = i >= bpp ? prior[i - bpp] : 0;
        sub += Magnitude(static_cast<unsigned char>(row[i] - a));
        up += Magnitude(static_cast<unsigned char>(row[i] - prior[i]));
        paeth += Magnitude(static_cast<unsigned char>(row[i] - PaethPredictor(a, prior[i], c)));
    }
    unsigned char* f = out + 1;
    if (sub <= up && sub <= paeth) {
        out[0] = kSub;
        for (size_t i = 0; i < length; ++i) f[i] = static_cast<unsigned char>(row[i] - (i >= bpp ? row[i - bpp] : 0));
    } else if (up <= paeth) {
        out[0] = kUp;
        for (size_t i = 0; i < length; ++i) f[i] = static_cast<unsigned char>(row[i] - prior[i]);
    } else {
        out[0] = kPaeth;
        for (size_t i = 0; i < length; ++i) {
            const int a = i >= bpp ? row[i - bpp] : 0;
            const int c = i >= bpp ? prior[i - bpp] : 0;
            f[i] = static_cast<unsigned char>(row[i] - PaethPredictor(a, prior[i], c));
        }
    }
}

// Whether rows [first, end) look like drawn content (panels, text, lines) rather than a photo:
// most pixels repeat their left neighbour.
bool FlatRows(const PngPicture& picture, int first, int end) {
    size_t repeats = 0, total = 0;
    for (int y = first; y < end; ++y) {
        const uint32_t* pixel = picture.pixels + static_cast<size_t>(y) * picture.stride;
        for (int x = 1; x < picture.width; ++x) repeats += ((pixel[x] ^ pixel[x - 1]) & 0x00FFFFFFu) == 0;
        total += static_cast<size_t>(picture.width - 1);
    }
    return repeats * 2 >= total;
}

// Rows are deflated in bands that share one way of compressing: drawn content by zlib's usual
// matching at the chosen level, photo-like content by run lengths only, which is several times
// faster there and compresses it about as well.
constexpr int kBandRows = 32;

// Deflates whatever z holds with flush until deflate has nothing more to give, appending to out.
bool Drain(z_stream& z, int flush, std::vector<unsigned char>& buffer, std::string& out) {
    for (;;) {
        z.next_out = buffer.data();
        z.avail_out = static_cast<uInt>(buffer.size());
        const int result = deflate(&z, flush);
        out.append(reinterpret_cast<const char*>(buffer.data()), buffer.size() - z.avail_out);
        if (result == Z_STREAM_END) return true;
        if (result != Z_OK && result != Z_BUF_ERROR) return false;
        if (z.avail_out != 0) return true;
    }
}

// One strip's rows, filtered and deflated as a part of one stream: the last part closes the
// stream, the others end on a byte boundary so that the parts can simply be joined.
struct Strip {
    int first = 0;
    int end = 0;
    bool last = false;
    std::string deflated;
    uLong adler = 1;
    size_t filteredBytes = 0;
    bool ok = false;
};

void DeflateStrip(const PngPicture& picture, int level, Strip& strip) {
    try {
        const size_t bpp = picture.alpha ? 4 : 3;
        const size_t length = static_cast<size_t>(picture.width) * bpp;
        std::vector<unsigned char> prior(length, 0), row(length), filtered(length + 1);
        if (strip.first > 0) RawRow(picture, strip.first - 1, prior.data());
        z_stream z{};
        if (deflateInit2(&z, level, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK) return;
        std::vector<unsigned char> out(deflateBound(&z, static_cast<uLong>(length + 1)) + 64);
        bool ok = true;
        bool flat = true;
        for (int y = strip.first; ok && y < strip.end; ++y) {
            if ((y - strip.first) % kBandRows == 0) {
                const bool bandFlat = FlatRows(picture, y, std::min(y + kBandRows, strip.end));
                if (bandFlat != flat) {
                    flat = bandFlat;
                    ok = Drain(z, Z_BLOCK, out, strip.deflated) &&
                         deflateParams(&z, flat ? level : 1, flat ? Z_DEFAULT_STRATEGY : Z_RLE) == Z_OK;
                }
            }
            RawRow(picture, y, row.data());
            FilterRow(row.data(), prior.data(), length, bpp, flat, filtered.data());
            row.swap(prior);
            strip.adler = adler32(strip.adler, filtered.data(), static_cast<uInt>(filtered.size()));
            strip.filteredBytes += filtered.size();
            const bool lastRow = y + 1 == strip.end;
            z.next_in = filtered.data();
            z.avail_in = static_cast<uInt>(filtered.size());
            ok = ok && Drain(z, !lastRow ? Z_NO_FLUSH : strip.last ? Z_FINISH : Z_SYNC_FLUSH, out, strip.deflated);
        }
        deflateEnd(&z);
        strip.ok = ok;
    } catch (const std::bad_alloc&) {
        strip.ok = false;
    } catch (const std::length_error&) {
        strip.ok = false;
    }
}

void PutIhdr(std::string& out, const PngPicture& picture) {
    std::string header;
    PutBigEndian(header, static_cast<uint32_t>(picture.width));
    PutBigEndian(header, static_cast<uint32_t>(picture.height));
    header += static_cast<char>(8);                       // bits per sample
    header += static_cast<char>(picture.alpha ? 6 : 2);  // RGBA or RGB
    header += std::string(3, '\0');                      // deflate, adaptive filters, no interlace
    PutChunk(out, "IHDR", reinterpret_cast<const unsigned char*>(header.data()), header.size());
}

}  // namespace

std::string EncodePng(const PngPicture& picture, const PngOptions& options) {
    if (!picture.pixels || picture.width <= 0 || picture.height <= 0 ||
        static_cast<uint32_t>(picture.width) > kMaxPngValue / 4 || picture.stride < static_cast<size_t>(picture.width)) {
        return std::string();
    }
    const int strips = std::max(1, std::min(options.strips, picture.height / kMinStripRows));
    std::vector<Strip> parts(static_cast<size_t>(strips));
    for (int i = 0; i < strips; ++i) {
        parts[i].first = static_cast<int>(static_cast<long long>(picture.height) * i / strips);
        parts[i].end = static_cast<int>(static_cast<long long>(picture.height) * (i + 1) / strips);
        parts[i].last = i + 1 == strips;
    }
    const int level = std::max(1, std::min(options.level, 9));
    // The first strip on this thread, the others each on one of their own.
    std::vector<std::thread> threads;
    try {
        for (int i = 1; i < strips; ++i) threads.emplace_back(DeflateStrip, std::cref(picture), level, std::ref(parts[i]));
    } catch (const std::system_error&) {
        // Without more threads the remaining strips are deflated here, one after the other.
    }
    DeflateStrip(picture, level, parts[0]);
    for (std::thread& thread : threads) thread.join();
    for (size_t i = 1 + threads.size(); i < parts.size(); ++i) DeflateStrip(picture, level, parts[i]);

    try {
        std::string stream(reinterpret_cast<const char*>(kZlibHeader), sizeof kZlibHeader);
        uLong adler = 1;
        for (Strip& part : parts) {
            if (!part.ok) return std::string();
            stream += part.deflated;
            part.deflated = std::string();
            adler = adler32_combine(adler, part.adler, static_cast<z_off_t>(part.filteredBytes));
        }
        PutBigEndian(stream, static_cast<uint32_t>(adler));

        std::string file(reinterpret_cast<const char*>(kSignature), sizeof kSignature);
        PutIhdr(file, picture);
        for (size_t at = 0; at < stream.size(); at += kIdatBytes) {
            PutChunk(file, "IDAT", reinterpret_cast<const unsigned char*>(stream.data()) + at,
                     std::min(kIdatBytes, stream.size() - at));
        }
        PutChunk(file, "IEND", nullptr, 0);
        return file;
    } catch (const std::bad_alloc&) {
    } catch (const std::length_error&) {
    }
    return std::string();
}
