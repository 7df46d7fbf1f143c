#pragma once
// A result list on a fake view with the program's strings, for the tests of
// the HTML and XML reports, and the report environment they are written in.

#include <gtest/gtest.h>

#include <fstream>
#include <initializer_list>
#include <sstream>
#include <string>

#include "../views/list_test_support.h"
#include "../views/test_ui_strings.h"
#include "input/address_list.h"
#include "reports/report_driver.h"
#include "reports/report_environment.h"
#include "base/options.h"

// 创建本报告的应用程序是
#define OL_CREATED_BY "\xB4\xB4\xBD\xA8\xB1\xBE\xB1\xA8\xB8\xE6\xB5\xC4\xD3\xA6\xD3\xC3\xB3\xCC\xD0\xF2\xCA\xC7"
// IP 地址报告
#define OL_REPORT_TITLE "IP \xB5\xD8\xD6\xB7\xB1\xA8\xB8\xE6"

inline std::string ReadReportFixture(const char* name) {
    std::ifstream in(std::string(OL_TEST_DATA_DIR) + "/reports/" + name, std::ios::binary);
    EXPECT_TRUE(in.good()) << "missing fixture " << name;
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Installs an environment for every report written while it lives.
class EnvironmentScope {
  public:
    explicit EnvironmentScope(unsigned codePage = 936) {
        Current().charset.clear();
        Current().rightToLeft = false;
        Current().codePage = codePage;
        SetReportEnvironmentSource([] { return Current(); });
    }
    ~EnvironmentScope() { SetReportEnvironmentSource(nullptr); }
    EnvironmentScope(const EnvironmentScope&) = delete;
    EnvironmentScope& operator=(const EnvironmentScope&) = delete;

    static ReportEnvironment& Current() {
        static ReportEnvironment environment;
        return environment;
    }
};

class ReportListTest : public ::testing::Test {
  protected:
    ReportListTest() : list(&options) {
        strings.builtin[6] = OL_CREATED_BY;
        options.ResolveIPAddr = 0;
        list.Attach(&view);
        view.InsertColumns(list);
    }
    void Add(const char* text) {
        options.addressText.SetText(text);
        list.AddAddressesFromText();
        list.Rebuild(true);
    }
    // Shows only the given columns, in the given order.
    void ShowColumns(std::initializer_list<int> columns) {
        for (auto& column : view.columns) column.width = 0;
        int position = 0;
        for (int id : columns) {
            view.columns[static_cast<size_t>(id)].width = 100;
            view.columns[static_cast<size_t>(id)].position = position++;
        }
    }
    std::string Report(int format, bool selectedOnly = false, bool expectOk = true) {
        StringSink sink;
        EXPECT_EQ(WriteReport(list, sink, format, selectedOnly), expectOk);
        EXPECT_EQ(list.OutputFormat(), FormatScreen);
        return sink.text;
    }

    TestUiStrings strings;
    EnvironmentScope environment;
    Options options;
    FakeReportView view;
    AddressList list;
};
