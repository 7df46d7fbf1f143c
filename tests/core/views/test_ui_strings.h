#pragma once
// The string table texts the list and the reports use, as the program holds
// them under code page 936 (GBK bytes), installed as the string source for
// the life of the object.

#include <cstring>
#include <map>
#include <string>

#include "lang/ui_strings.h"

class TestUiStrings : public UiStringSource {
  public:
    TestUiStrings() {
        ResetUiStringCache();
        SetUiStringSource(this);
    }
    ~TestUiStrings() override {
        SetUiStringSource(nullptr);
        ResetUiStringCache();
    }
    TestUiStrings(const TestUiStrings&) = delete;
    TestUiStrings& operator=(const TestUiStrings&) = delete;

    bool BuiltinText(int id, char* out, int outSize) override { return Find(builtin, id, out, outSize); }
    bool TranslatedText(int id, char* out, int outSize) override { return Find(translated, id, out, outSize); }

    std::map<int, std::string> builtin = {
        {8, "IP \xB5\xD8\xD6\xB7\xB1\xA8\xB8\xE6"},                    // IP 地址报告
        {9, "\xC8\xB7\xB6\xA8"},                                       // 确定
        {10, "\xB2\xBB\xC8\xB7\xB6\xA8"},                              // 不确定
        {521, "\xB5\xC8\xB4\xFD\xD6\xD0..."},                          // 等待中...
        {522, "\xD6\xD8\xD0\xC2\xD5\xD2\xBB\xD8\xCA\xFD\xBE\xDD..."},  // 重新找回数据...
        {523, "\xB3\xC9\xB9\xA6"},                                     // 成功
        {524, "\xCA\xA7\xB0\xDC"},                                     // 失败
        {525, "\xD4\xDD\xCD\xA3"},                                     // 暂停
        {541, "ARIN"},                                                 // ARIN
        {542, "RIPE NCC"},                                             // RIPE NCC
        {543, "APNIC"},                                                // APNIC
        {544, "LACNIC"},                                               // LACNIC
        {545, "AfriNIC"},                                              // AfriNIC
        {1001, "\xCB\xB3\xD0\xF2"},                                    // 顺序
        {1002, "IP \xB5\xD8\xD6\xB7"},                                 // IP 地址
        {1003, "\xB9\xFA\xBC\xD2"},                                    // 国家
        {1004, "\xCB\xF9\xD3\xD0\xD5\xDF\xC3\xFB\xB3\xC6"},            // 所有者名称
        {1005, "\xB5\xD8\xD6\xB7"},                                    // 地址
        {1006, "\xD3\xCA\xBC\xFE"},                                    // 邮件
        {1007, "\xB5\xE7\xD7\xD3\xD3\xCA\xBC\xFE"},                    // 电子邮件
        {1008, "\xB5\xE7\xBB\xB0"},                                    // 电话
        {1009, "\xB4\xAB\xD5\xE6"},                                    // 传真
        {1010, "\xC0\xB4\xD7\xD4 IP"},                                 // 来自 IP
        {1011, "\xB5\xBD IP"},                                         // 到 IP
        {1012, "\xD7\xB4\xCC\xAC"},                                    // 状态
        {1013, "Whois \xC0\xB4\xD4\xB4"},                              // Whois 来源
        {1014, "\xCD\xF8\xC2\xE7\xC3\xFB\xB3\xC6"},                    // 网络名称
        {1015, "\xC1\xAA\xCF\xB5\xC3\xFB\xB3\xC6"},                    // 联系名称
        {1016, "\xB7\xD6\xC5\xE4"},                                    // 分配
        {1017, "\xD6\xF7\xBB\xFA\xC3\xFB"},                            // 主机名
        {1018, "\xBD\xE2\xCE\xF6\xC3\xFB\xB3\xC6"},                    // 解析名称
    };
    std::map<int, std::string> translated;  // what a language file would give

  private:
    static bool Find(const std::map<int, std::string>& texts, int id, char* out, int outSize) {
        const auto found = texts.find(id);
        if (found == texts.end() || outSize <= 0) return false;
        std::strncpy(out, found->second.c_str(), static_cast<size_t>(outSize) - 1);
        out[outSize - 1] = '\0';
        return true;
    }
};
