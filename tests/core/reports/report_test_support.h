#pragma once
// A result list on a fake view with the program's strings, the report
// environment it is written in, and a sink that keeps what it is given.

#include <gtest/gtest.h>

#include <fstream>
#include <initializer_list>
#include <sstream>
#include <string>

#include "../views/list_test_support.h"
#include "../views/program_strings.h"
#include "reports/byte_sink.h"
#include "reports/report_driver.h"
#include "reports/report_environment.h"
#include "shell/options.h"

class StringSink : public ByteSink {
  public:
    bool Write(const char* bytes, size_t n) override {
        if (++writes == failWrite) return false;
        text.append(bytes, n);
        return true;
    }
    std::string text;
    int writes = 0;
    int failWrite = 0;  // the number of the write that fails; 0: none
};

inline std::string ReadReportFixture(const std::string& name) {
    std::ifstream in(OL_TEST_DATA_DIR "/reports/" + name, std::ios::binary);
    EXPECT_TRUE(in.good()) << "missing fixture " << name;
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline ReportEnvironment& Environment() {
    static ReportEnvironment environment;
    return environment;
}

class ReportListTest : public ::testing::Test {
  protected:
    ReportListTest() : list(&options) {
        Environment() = ReportEnvironment{"", false, 936};
        SetReportEnvironmentSource([] { return Environment(); });
        options.ResolveIPAddr = 0;
        list.Attach(&view);
        view.InsertColumns(list);
    }
    ~ReportListTest() override { SetReportEnvironmentSource(nullptr); }
    void Add(const char* text) {
        options.addressText.SetText(text);
        list.AddAddressesFromText();
        list.Rebuild(true);
    }
    // Shows only the given columns, in the given order.
    void ShowColumns(std::initializer_list<int> columns) {
        for (auto& column : view.columns) column.width = 0;
        int position = 0;
        for (int id : columns) view.columns[static_cast<size_t>(id)] = {100, position++};
    }
    std::string Report(int format, bool selectedOnly = false, bool ok = true) {
        StringSink sink;
        EXPECT_EQ(WriteReport(list, sink, format, selectedOnly), ok);
        EXPECT_EQ(list.OutputFormat(), FormatScreen);
        return sink.text;
    }

    TestUiStrings strings;
    Options options;
    FakeReportView view;
    AddressList list;
};
