#include "reports/report_environment.h"

namespace {

ReportEnvironmentSource g_source = nullptr;

}  // namespace

void SetReportEnvironmentSource(ReportEnvironmentSource source) {
    g_source = source;
}

ReportEnvironment CurrentReportEnvironment() {
    return g_source ? g_source() : ReportEnvironment();
}
