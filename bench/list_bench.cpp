// The address list and the result list on large inputs: extraction of the
// addresses of a long mail-header text, and the refresh of the rows of a long
// list after one item changed (the list's own work, against a view that only
// keeps the row parameters).

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "input/address_list.h"
#include "lang/ui_strings.h"
#include "base/options.h"
#include "views/report_view.h"
#include "whois/bin_file_loader.h"

namespace {

constexpr int kAddresses = 100000;

// Header lines of about 200 bytes, each naming one distinct public address.
std::string MailHeaders() {
    std::string text;
    text.reserve(21u << 20);
    for (int i = 0; i < kAddresses; ++i) {
        const std::string ip =
            "11." + std::to_string(i >> 16) + "." + std::to_string((i >> 8) & 255) + "." + std::to_string(i & 255);
        const std::string host = "relay" + std::to_string(i) + ".mail.example.net";
        text += "Received: from " + host + " (" + host + " [" + ip +
                "])\r\n\tby mx.example.org (Postfix) with ESMTPS id 4Yq2Lk0n3Tz9sVh for <user@example.org>; "
                "Tue, 3 Dec 2024 10:00:00 +0000 (UTC)\r\n";
    }
    return text;
}

// The status and allocation texts, so that a status change rewrites a cell
// as it does in the program.
class StatusTexts : public UiStringSource {
  public:
    bool BuiltinText(int id, char* out, int outSize) override {
        const char* text = id == 9     ? "\xC8\xB7\xB6\xA8"
                           : id == 521 ? "\xB5\xC8\xB4\xFD\xD6\xD0..."
                           : id == 522 ? "\xD6\xD8\xD0\xC2\xD5\xD2\xBB\xD8\xCA\xFD\xBE\xDD..."
                           : id == 523 ? "\xB3\xC9\xB9\xA6"
                                       : nullptr;
        if (!text) return false;
        std::snprintf(out, static_cast<size_t>(outSize), "%s", text);
        return true;
    }
    bool TranslatedText(int, char*, int) override { return false; }
};

// Rows without texts: what the list asks of the control costs nothing here.
class NullView : public ReportView {
  public:
    int RowCount() override { return static_cast<int>(params.size()); }
    int InsertRow(int row, const char*, int, int param) override {
        params.insert(params.begin() + row, param);
        return row;
    }
    void DeleteRow(int row) override { params.erase(params.begin() + row); }
    void DeleteAllRows() override { params.clear(); }
    int RowParam(int row) override { return params[static_cast<size_t>(row)]; }
    void SetCellText(int, int, const char*) override { ++writes; }
    void SetRowImage(int, int) override { ++writes; }
    bool IsRowSelected(int) override { return false; }
    int SelectedCount() override { return 0; }
    int NextSelectedRow(int) override { return -1; }
    void SetRowState(int, unsigned, unsigned) override {}
    void EnsureVisible(int) override {}
    bool ColumnInfo(int, int* width, int* position) override {
        *width = 100;
        *position = 0;
        return true;
    }
    void SetColumnWidth(int, int) override {}
    void SetColumnOrder(const int*, int) override {}
    void AutoSizeColumn(int) override {}
    void SetHeaderImage(int, int) override {}
    void SortRows(RowComparer&) override {}

    std::vector<int> params;
    long writes = 0;
};

void BM_ExtractMailHeaders(benchmark::State& state) {
    InstallBinFileLoader(OL_GENERATED_DIR);
    Options options;
    options.ResolveIPAddr = 0;
    const std::string text = MailHeaders();
    options.addressText.SetText(text.c_str());
    AddressList list(&options);
    for (auto _ : state) {
        list.Clear();
        list.AddAddressesFromText();
        if (list.ItemCount() != kAddresses) state.SkipWithError("wrong item count");
    }
    state.counters["MB"] = static_cast<double>(text.size()) / (1 << 20);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_ExtractMailHeaders)->Unit(benchmark::kMillisecond);

struct LongList {
    LongList() : list(&options) {
        options.ResolveIPAddr = 0;
        std::string text;
        for (int i = 0; i < kAddresses; ++i) {
            text += "11." + std::to_string(i >> 16) + "." + std::to_string((i >> 8) & 255) + "." +
                    std::to_string(i & 255) + " ";
        }
        options.addressText.SetText(text.c_str());
        list.Attach(&view);
        SetUiStringSource(&texts);
        ResetUiStringCache();
        list.AddAddressesFromText();
        list.Rebuild(true);
        view.writes = 0;
    }
    ~LongList() {
        SetUiStringSource(nullptr);
        ResetUiStringCache();
    }
    StatusTexts texts;
    Options options;
    NullView view;
    AddressList list;
};

void BM_RefreshRowsOneChanged(benchmark::State& state) {
    LongList rows;
    int index = 0;
    for (auto _ : state) {
        index = (index + 7919) % kAddresses;
        const bool succeeded = rows.list.At(index)->status == LookupStatus::Succeeded;
        rows.list.SetItemStatus(index, succeeded ? LookupStatus::Retrieving : LookupStatus::Succeeded);
        rows.list.RefreshRows();
    }
    state.counters["writes/refresh"] = static_cast<double>(rows.view.writes) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_RefreshRowsOneChanged)->Unit(benchmark::kMicrosecond);

// For comparison: every row compared with its item, as a full refresh does.
void BM_RefreshAllRows(benchmark::State& state) {
    LongList rows;
    for (auto _ : state) rows.list.RefreshAllRows();
}
BENCHMARK(BM_RefreshAllRows)->Unit(benchmark::kMillisecond);

void BM_RebuildLongList(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        {
            LongList* rows = new LongList();
            rows->list.DeleteAllRows();
            state.ResumeTiming();
            rows->list.Rebuild(true);
            state.PauseTiming();
            delete rows;
        }
        state.ResumeTiming();
    }
}
BENCHMARK(BM_RebuildLongList)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
