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
    for (size_t i = 0; i < images.size(); ++i)
        if (!EncodeImage(images[i], palette, encoded[i]))
            return 1;

    std::vector<uint8_t> file;
    Put16(file, 0);
    Put16(file, 1);
    Put16(file, static_cast<uint32_t>(images.size()));
    uint32_t offset = 6 + 16 * static_cast<uint32_t>(images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        file.push_back(images[i].size == 256 ? 0 : images[i].size);
        file.push_back(images[i].size == 256 ? 0 : images[i].size);
        file.push_back(images[i].bits == 4 ? kPaletteEntries : 0);
        file.push_back(0);
        Put16(file, 1);
        Put16(file, images[i].bits);
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
