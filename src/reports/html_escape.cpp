#include "reports/html_escape.h"

namespace {

bool InRange(unsigned char b, unsigned low, unsigned high) {
    return b >= low && b <= high;
}

bool IsLeadByte(unsigned char b, unsigned codePage) {
    switch (codePage) {
        case 936:  // GBK
        case 949:  // Unified Hangul Code
        case 950:  // Big5
            return InRange(b, 0x81, 0xFE);
        case 932:  // Shift JIS; 0xA1 to 0xDF are single-byte katakana
            return InRange(b, 0x81, 0x9F) || InRange(b, 0xE0, 0xFC);
        default:
            return false;
    }
}

bool IsTrailByte(unsigned char b, unsigned codePage) {
    switch (codePage) {
        case 936:
            return InRange(b, 0x40, 0xFE) && b != 0x7F;
        case 949:
            return InRange(b, 0x41, 0x5A) || InRange(b, 0x61, 0x7A) || InRange(b, 0x81, 0xFE);
        case 950:
            return InRange(b, 0x40, 0x7E) || InRange(b, 0xA1, 0xFE);
        case 932:
            return InRange(b, 0x40, 0xFC) && b != 0x7F;
        default:
            return false;
    }
}

}  // namespace

bool IsDoubleByteCodePage(unsigned codePage) {
    return codePage == 936 || codePage == 949 || codePage == 950 || codePage == 932;
}

int CharacterLength(const char* text, unsigned codePage) {
    const unsigned char lead = static_cast<unsigned char>(text[0]);
    if (!IsLeadByte(lead, codePage)) return 1;
    return IsTrailByte(static_cast<unsigned char>(text[1]), codePage) ? 2 : 1;
}

namespace {

// One walk for both formats; they differ only in the degree sign and the line feed.
void Escape(const char* in, std::string& out, unsigned codePage, const char* degree, const char* lineFeed) {
    const bool doubleByte = IsDoubleByteCodePage(codePage);
    for (const char* p = in; *p;) {
        if (doubleByte && CharacterLength(p, codePage) == 2) {
            out.append(p, 2);
            p += 2;
            continue;
        }
        switch (static_cast<unsigned char>(*p)) {
            case '&':
                out.append("&amp;");
                break;
            case '<':
                out.append("&lt;");
                break;
            case '>':
                out.append("&gt;");
                break;
            case '"':
                out.append("&quot;");
                break;
            case 0xB0:
                out.append(degree);
                break;
            case '\n':
                out.append(lineFeed);
                break;
            default:
                out.push_back(*p);
                break;
        }
        ++p;
    }
}

}  // namespace

void EscapeHtml(const char* in, std::string& out, unsigned codePage) {
    Escape(in, out, codePage, "&deg;", "<br>");
}

void EscapeXml(const char* in, std::string& out, unsigned codePage) {
    Escape(in, out, codePage, "&#176;", "&#10;");
}
