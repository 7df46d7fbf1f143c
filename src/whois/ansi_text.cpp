#include "whois/ansi_text.h"

namespace {

void PortableUtf8ToAnsi(const char* utf8, size_t length, std::string* ansi) {
    const unsigned char* text = reinterpret_cast<const unsigned char*>(utf8);
    for (size_t i = 0; i < length;) {
        if (text[i] < 0x80) {
            ansi->push_back(static_cast<char>(text[i++]));
            continue;
        }
        const size_t sequence = Utf8SequenceLength(text + i, length - i);
        ansi->push_back('?');
        i += sequence ? sequence : 1;
    }
}

Utf8ToAnsiConverter g_converter = PortableUtf8ToAnsi;

}  // namespace

void SetUtf8ToAnsiConverter(Utf8ToAnsiConverter converter) {
    g_converter = converter ? converter : PortableUtf8ToAnsi;
}

void Utf8ToAnsi(const char* utf8, size_t length, std::string* ansi) {
    g_converter(utf8, length, ansi);
}

size_t Utf8SequenceLength(const unsigned char* text, size_t available) {
    if (available == 0) return 0;
    const unsigned char lead = text[0];
    if (lead < 0x80) return 1;
    size_t length;
    unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;   // overlong
        if (lead == 0xED) high = 0x9F;  // surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;   // overlong
        if (lead == 0xF4) high = 0x8F;  // above U+10FFFF
    } else {
        return 0;
    }
    if (available < length || text[1] < low || text[1] > high) return 0;
    for (size_t i = 2; i < length; ++i) {
        if (text[i] < 0x80 || text[i] > 0xBF) return 0;
    }
    return length;
}

bool RepairUtf8(const char* utf8, size_t length, std::string* out) {
    const unsigned char* text = reinterpret_cast<const unsigned char*>(utf8);
    size_t i = 0;
    while (i < length) {
        const size_t sequence = text[i] < 0x80 ? 1 : Utf8SequenceLength(text + i, length - i);
        if (!sequence) break;
        i += sequence;
    }
    if (i == length) return false;
    out->assign(utf8, i);
    while (i < length) {
        const size_t sequence = text[i] < 0x80 ? 1 : Utf8SequenceLength(text + i, length - i);
        if (sequence) {
            out->append(utf8 + i, sequence);
            i += sequence;
        } else {
            out->push_back('?');
            ++i;
        }
    }
    return true;
}
