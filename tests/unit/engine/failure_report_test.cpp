// The one place that shows failures: observed instead of shown, and silent when turned off.
#include "engine/failure_report.h"

#include "engine_test_support.h"

#include <gtest/gtest.h>

namespace {

using engine_testing::FailureRecorder;

TEST(FailureReport, EachFailureIsShownWithItsText) {
    FailureRecorder failures;
    ReportFailure(L"Fail to install the service!");
    ReportFailure(L"Fail to write the DisplayName registry key!");
    EXPECT_EQ((std::vector<std::wstring>{L"Fail to install the service!",
                                         L"Fail to write the DisplayName registry key!"}),
              failures.Texts());
}

TEST(FailureReport, NothingIsShownWhileBoxesAreTurnedOff) {
    FailureRecorder failures;
    SetFailureBoxesShown(false);
    ReportFailure(L"Fail to install the service!");
    EXPECT_TRUE(failures.Texts().empty());
    SetFailureBoxesShown(true);
    ReportFailure(L"Fail to install the service!");
    EXPECT_EQ(1u, failures.Texts().size());
}

} // namespace
