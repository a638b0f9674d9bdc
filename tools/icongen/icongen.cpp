// Converts a text pixel picture into a Windows .ico file, so that the icons
// stay reproducible from a readable source.
//
// Source format, one directive or pixel row per line ('#' starts a comment):
//   image SIZE BITS      begins an image of SIZE x SIZE pixels, BITS 4 (up to 16
//                        colours, a small file for the larger sizes), 24 or 32
//   C RRGGBB             palette entry: character C is that colour
//   C none               palette entry: character C is transparent (mask set)
//   <SIZE characters>    a pixel row, top row first
//
// Images of kPngFromSize pixels and more are stored as 32-bit PNG files inside
// the .ico, as Windows Vista and later read them (the programs need Windows 7):
// a 256-pixel picture takes 3 KB instead of 40, a 32-pixel one 0.2 KB instead of 3. The deflate
// stream is written here (fixed Huffman codes, greedy matches), so that the bytes are the same on
// every machine.
//
// Usage: icongen SOURCE.txt OUTPUT.ico
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Colour {
    uint8_t r = 0, g = 0, b = 0;
    bool transparent = false;
};

struct Image {
    int size = 0;
    int bits = 24;
    std::vector<std::string> rows;
};

void Put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(v & 0xFF);
    out.push_back((v >> 8) & 0xFF);
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

bool Fail(const std::string& message) {
    std::fprintf(stderr, "icongen: %s\n", message.c_str());
    return false;
}

bool Parse(std::istream& in, std::map<char, Colour>& palette, std::vector<Image>& images) {
    std::string line;
    int lineNumber = 0;
    while (std::getline(in, line)) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream words(line);
        std::string first;
        words >> first;
        if (first == "image") {
            Image image;
            words >> image.size >> image.bits;
            if (image.size <= 0 || image.size > 256 ||
                (image.bits != 4 && image.bits != 24 && image.bits != 32))
                return Fail("line " + std::to_string(lineNumber) + ": bad image directive");
            images.push_back(image);
        } else if (first.size() == 1 && line.size() > 1 && line[1] == ' ') {
            std::string value;
            words >> value;
            Colour colour;
            if (value == "none") {
                colour.transparent = true;
            } else {
                unsigned rgb = 0;
                if (value.size() != 6 || std::sscanf(value.c_str(), "%x", &rgb) != 1)
                    return Fail("line " + std::to_string(lineNumber) + ": bad colour");
                colour.r = (rgb >> 16) & 0xFF;
                colour.g = (rgb >> 8) & 0xFF;
                colour.b = rgb & 0xFF;
            }
            palette[first[0]] = colour;
        } else {
            if (images.empty())
                return Fail("line " + std::to_string(lineNumber) + ": pixels before 'image'");
            Image& image = images.back();
            if (static_cast<int>(line.size()) != image.size)
                return Fail("line " + std::to_string(lineNumber) +
                            ": row length differs from size");
            for (char c : line)
                if (!palette.count(c))
                    return Fail("line " + std::to_string(lineNumber) + ": unknown colour '" +
                                std::string(1, c) + "'");
            image.rows.push_back(line);
        }
    }
    for (const Image& image : images)
        if (static_cast<int>(image.rows.size()) != image.size)
            return Fail("an image has the wrong number of rows");
    return !images.empty() || Fail("no image");
}

constexpr int kPaletteEntries = 16; // of a 4-bit image
constexpr int kPngFromSize = 32;

void PutBig32(std::vector<uint8_t>& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<uint8_t>(v >> shift));
}

// Deflate's bits go out least significant first; Huffman codes most significant first.
struct BitWriter {
    std::vector<uint8_t>& out;
    uint32_t pending = 0;
    int count = 0;
    void Put(uint32_t value, int bits) {
        pending |= value << count;
        count += bits;
        while (count >= 8) {
            out.push_back(static_cast<uint8_t>(pending));
            pending >>= 8;
            count -= 8;
        }
    }
    void PutCode(uint32_t code, int bits) {
        uint32_t reversed = 0;
        for (int i = 0; i < bits; ++i)
            reversed |= ((code >> i) & 1) << (bits - 1 - i);
        Put(reversed, bits);
    }
    void Flush() {
        if (count > 0)
            out.push_back(static_cast<uint8_t>(pending));
        pending = 0;
        count = 0;
    }
};

// A literal byte or the end of the block (256), and the length codes (257 on), in the fixed code.
void PutFixedSymbol(BitWriter& bits, int symbol) {
    if (symbol < 144)
        bits.PutCode(0x30 + symbol, 8);
    else if (symbol < 256)
        bits.PutCode(0x190 + symbol - 144, 9);
    else if (symbol < 280)
        bits.PutCode(symbol - 256, 7);
    else
        bits.PutCode(0xC0 + symbol - 280, 8);
}

constexpr int kLengthBase[] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                               31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr int kLengthExtra[] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr int kDistanceBase[] = {1,    2,    3,    4,    5,    7,    9,    13,    17,    25,
                                 33,   49,   65,   97,   129,  193,  257,  385,   513,   769,
                                 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr int kDistanceExtra[] = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                  6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

void PutMatch(BitWriter& bits, int length, int distance) {
    int code = 28;
    while (kLengthBase[code] > length)
        --code;
    PutFixedSymbol(bits, 257 + code);
    bits.Put(length - kLengthBase[code], kLengthExtra[code]);
    code = 29;
    while (kDistanceBase[code] > distance)
        --code;
    bits.PutCode(code, 5);
    bits.Put(distance - kDistanceBase[code], kDistanceExtra[code]);
}

// One final block with the fixed codes; matches found through chains of 3-byte hashes.
std::vector<uint8_t> Deflate(const std::vector<uint8_t>& data) {
    constexpr int kWindow = 32768, kMinMatch = 3, kMaxMatch = 258, kMaxTries = 64;
    constexpr int kHashSize = 1 << 15;
    std::vector<uint8_t> out;
    BitWriter bits{out};
    bits.Put(1, 1); // the last block
    bits.Put(1, 2); // fixed Huffman codes
    std::vector<int> head(kHashSize, -1), previous(data.size(), -1);
    const int size = static_cast<int>(data.size());
    auto hashAt = [&](int i) {
        return ((data[i] << 10) ^ (data[i + 1] << 5) ^ data[i + 2]) & (kHashSize - 1);
    };
    auto insert = [&](int i) {
        if (i + kMinMatch > size)
            return;
        const int hash = hashAt(i);
        previous[i] = head[hash];
        head[hash] = i;
    };
    int i = 0;
    while (i < size) {
        int bestLength = 0, bestDistance = 0;
        if (i + kMinMatch <= size) {
            int tries = kMaxTries;
            for (int candidate = head[hashAt(i)];
                 candidate >= 0 && i - candidate <= kWindow && tries-- > 0;
                 candidate = previous[candidate]) {
                int length = 0;
                while (length < kMaxMatch && i + length < size &&
                       data[candidate + length] == data[i + length])
                    ++length;
                if (length > bestLength) {
                    bestLength = length;
                    bestDistance = i - candidate;
                }
            }
        }
        if (bestLength >= kMinMatch) {
            PutMatch(bits, bestLength, bestDistance);
            for (int end = i + bestLength; i < end; ++i)
                insert(i);
        } else {
            PutFixedSymbol(bits, data[i]);
            insert(i);
            ++i;
        }
    }
    PutFixedSymbol(bits, 256);
    bits.Flush();
    return out;
}

uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc = 0) {
    crc = ~crc;
    for (size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    return ~crc;
}

uint32_t Adler32(const std::vector<uint8_t>& data) {
    uint32_t a = 1, b = 0;
    for (uint8_t byte : data) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    return (b << 16) | a;
}

void PutChunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data) {
    PutBig32(out, static_cast<uint32_t>(data.size()));
    const size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    PutBig32(out, Crc32(out.data() + start, out.size() - start));
}

// A PNG of 8-bit RGBA rows (filter 0 each), transparent pixels all zero.
void EncodePng(const Image& image, std::map<char, Colour>& palette, std::vector<uint8_t>& out) {
    std::vector<uint8_t> rows;
    for (const std::string& row : image.rows) {
        rows.push_back(0);
        for (char c : row) {
            const Colour& colour = palette[c];
            const uint8_t alpha = colour.transparent ? 0 : 0xFF;
            rows.push_back(colour.r & alpha);
            rows.push_back(colour.g & alpha);
            rows.push_back(colour.b & alpha);
            rows.push_back(alpha);
        }
    }
    static const uint8_t kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    out.insert(out.end(), kSignature, kSignature + sizeof(kSignature));
    std::vector<uint8_t> header;
    PutBig32(header, image.size);
    PutBig32(header, image.size);
    header.insert(header.end(), {8, 6, 0, 0, 0}); // 8 bits, RGBA, deflate, filters, no interlace
    PutChunk(out, "IHDR", header);
    std::vector<uint8_t> stream = {0x78, 0x01}; // zlib: deflate, 32 KB window, no dictionary
    const std::vector<uint8_t> deflated = Deflate(rows);
    stream.insert(stream.end(), deflated.begin(), deflated.end());
    PutBig32(stream, Adler32(rows));
    PutChunk(out, "IDAT", stream);
    PutChunk(out, "IEND", {});
}

bool IsPng(const Image& image) {
    return image.size >= kPngFromSize;
}

// The characters of a 4-bit image's palette, in palette order: index 0 is black,
// the colour under the mask (drawing XORs it onto the screen, so any other colour
// would show where the icon is transparent), then its opaque colours.
std::string PaletteOf(const Image& image, std::map<char, Colour>& palette) {
    std::string used(1, '\0');
    for (const auto& entry : palette) {
        if (entry.second.transparent)
            continue;
        for (const std::string& row : image.rows)
            if (row.find(entry.first) != std::string::npos) {
                used += entry.first;
                break;
            }
    }
    return used;
}

// Palette indexes, two pixels a byte, high nibble first; transparent pixels are index 0, black.
void PutIndexedRow(std::vector<uint8_t>& out, const std::string& row, const std::string& colours,
                   std::map<char, Colour>& palette, int stride) {
    const size_t start = out.size();
    out.resize(start + stride, 0);
    for (size_t x = 0; x < row.size(); ++x) {
        const size_t found = colours.find(row[x]);
        const uint8_t index =
            palette[row[x]].transparent || found == std::string::npos ? 0 : uint8_t(found);
        out[start + x / 2] |= x % 2 ? index : uint8_t(index << 4);
    }
}

// Blue, green, red (and alpha for 32 bits); transparent pixels are black.
void PutDirectRow(std::vector<uint8_t>& out, const std::string& row,
                  std::map<char, Colour>& palette, int bytesPerPixel, int stride) {
    const size_t start = out.size();
    for (char c : row) {
        const Colour& colour = palette[c];
        out.push_back(colour.transparent ? 0 : colour.b);
        out.push_back(colour.transparent ? 0 : colour.g);
        out.push_back(colour.transparent ? 0 : colour.r);
        if (bytesPerPixel == 4)
            out.push_back(colour.transparent ? 0 : 0xFF);
    }
    out.resize(start + stride, 0);
}

// One icon image: BITMAPINFOHEADER (height doubled), a palette for 4 bits,
// bottom-up XOR pixels, AND mask.
bool EncodeImage(const Image& image, std::map<char, Colour>& palette, std::vector<uint8_t>& out) {
    const int size = image.size;
    const int bytesPerPixel = image.bits / 8;
    const int xorStride = ((size * image.bits + 31) / 32) * 4;
    const int andStride = ((size + 31) / 32) * 4;
    const std::string colours = image.bits == 4 ? PaletteOf(image, palette) : "";
    if (static_cast<int>(colours.size()) > kPaletteEntries)
        return Fail("a 4-bit image has more than 16 colours");
    Put32(out, 40);
    Put32(out, size);
    Put32(out, size * 2);
    Put16(out, 1);
    Put16(out, image.bits);
    Put32(out, 0);
    Put32(out, (xorStride + andStride) * size);
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, image.bits == 4 ? kPaletteEntries : 0);
    Put32(out, 0);
    if (image.bits == 4) {
        for (int i = 0; i < kPaletteEntries; ++i) {
            const Colour colour =
                i > 0 && i < static_cast<int>(colours.size()) ? palette[colours[i]] : Colour();
            out.push_back(colour.b);
            out.push_back(colour.g);
            out.push_back(colour.r);
            out.push_back(0);
        }
    }
    for (int y = size - 1; y >= 0; --y) {
        if (image.bits == 4)
            PutIndexedRow(out, image.rows[y], colours, palette, xorStride);
        else
            PutDirectRow(out, image.rows[y], palette, bytesPerPixel, xorStride);
    }
    for (int y = size - 1; y >= 0; --y) {
        std::vector<uint8_t> row(andStride, 0);
        for (int x = 0; x < size; ++x)
            if (palette[image.rows[y][x]].transparent)
                row[x / 8] |= 0x80 >> (x % 8);
        out.insert(out.end(), row.begin(), row.end());
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: icongen SOURCE.txt OUTPUT.ico\n");
        return 2;
    }
    std::ifstream in(argv[1]);
    if (!in) {
        std::fprintf(stderr, "icongen: cannot read %s\n", argv[1]);
        return 1;
    }
    std::map<char, Colour> palette;
    std::vector<Image> images;
    if (!Parse(in, palette, images))
        return 1;

    std::vector<std::vector<uint8_t>> encoded(images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        if (IsPng(images[i]))
            EncodePng(images[i], palette, encoded[i]);
        else if (!EncodeImage(images[i], palette, encoded[i]))
            return 1;
    }

    std::vector<uint8_t> file;
    Put16(file, 0);
    Put16(file, 1);
    Put16(file, static_cast<uint32_t>(images.size()));
    uint32_t offset = 6 + 16 * static_cast<uint32_t>(images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        file.push_back(images[i].size == 256 ? 0 : images[i].size);
        file.push_back(images[i].size == 256 ? 0 : images[i].size);
        const bool png = IsPng(images[i]);
        file.push_back(images[i].bits == 4 && !png ? kPaletteEntries : 0);
        file.push_back(0);
        Put16(file, 1);
        Put16(file, png ? 32 : images[i].bits);
        Put32(file, static_cast<uint32_t>(encoded[i].size()));
        Put32(file, offset);
        offset += static_cast<uint32_t>(encoded[i].size());
    }
    for (const auto& data : encoded)
        file.insert(file.end(), data.begin(), data.end());

    std::ofstream out(argv[2], std::ios::binary);
    out.write(reinterpret_cast<const char*>(file.data()),
              static_cast<std::streamsize>(file.size()));
    return out ? 0 : 1;
}
