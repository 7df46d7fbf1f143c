#pragma once
// The program's string table as the shell holds it on a Chinese system: the
// resource script's texts in code page 936. While a TestUiStrings lives it is
// the string source; a test may change a text or add a language file's one.

#include <iconv.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "../../common/resource_ids_file.h"
#include "lang/ui_strings.h"

inline const std::map<int, std::string>& ProgramStringTable() {
    static const std::map<int, std::string> table = [] {
        const std::string folder = OL_SOURCE_DIR "/resources/";
        std::map<std::string, int> ids = ResourceIds("IDS_");
        std::map<int, std::string> texts;
        std::ifstream script(folder + "Ownerlens.rc");
        iconv_t gbk = iconv_open("CP936", "UTF-8");
        for (std::string line; std::getline(script, line);) {
            // A string-table row: IDS_NAME "text", the text up to the line's last quote.
            std::istringstream words(line);
            std::string name;
            const size_t open = line.find('"'), close = line.rfind('"');
            if (!(words >> name) || !ids.count(name) || open == std::string::npos || close <= open) continue;
            std::string in = line.substr(open + 1, close - open - 1), out(in.size() * 2, '\0');
            char *from = &in[0], *to = &out[0];
            size_t left = in.size(), room = out.size();
            iconv(gbk, &from, &left, &to, &room);
            texts[ids[name]] = out.substr(0, out.size() - room);
        }
        iconv_close(gbk);
        return texts;
    }();
    return table;
}

class TestUiStrings : public UiStringSource {
  public:
    TestUiStrings() : builtin(ProgramStringTable()) {
        ResetUiStringCache();
        SetUiStringSource(this);
    }
    ~TestUiStrings() override {
        SetUiStringSource(nullptr);
        ResetUiStringCache();
    }
    bool BuiltinText(int id, char* out, int size) override { return Find(builtin, id, out, size); }
    bool TranslatedText(int id, char* out, int size) override { return Find(translated, id, out, size); }

    std::map<int, std::string> builtin, translated;

  private:
    static bool Find(const std::map<int, std::string>& texts, int id, char* out, int size) {
        const auto found = texts.find(id);
        if (found == texts.end() || size <= 0) return false;
        out[found->second.copy(out, static_cast<size_t>(size) - 1)] = '\0';
        return true;
    }
};
