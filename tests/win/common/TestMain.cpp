// The main of every Windows test program: GoogleTest's own, but that each failure and skip
// is printed here rather than by GoogleTest's printer, which also hands it to
// OutputDebugString. Under 32-bit Wine emulated by qemu-i386 that call brings the process
// down whenever another of its threads waits in the wineserver (the simulator's pipe
// thread always does): the first failed or skipped case lost the program's whole report.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

namespace {

using ::testing::TestEventListener;
using ::testing::TestInfo;
using ::testing::TestPartResult;
using ::testing::TestSuite;
using ::testing::UnitTest;

class PlainResultPrinter : public TestEventListener {
public:
    explicit PlainResultPrinter(TestEventListener* printer) : printer_(printer) {}

    void OnTestPartResult(const TestPartResult& result) override {
        if (result.type() == TestPartResult::kSuccess) return;
        // As GoogleTest prints it: "file:line: Failure", then the message.
        std::printf("%s:%d: %s\n%s\n", result.file_name() != nullptr ? result.file_name() : "unknown file",
                    result.line_number(), result.skipped() ? "Skipped" : "Failure", result.message());
        std::fflush(stdout);
    }

    void OnTestProgramStart(const UnitTest& test) override { printer_->OnTestProgramStart(test); }
    void OnTestIterationStart(const UnitTest& test, int iteration) override {
        printer_->OnTestIterationStart(test, iteration);
    }
    void OnEnvironmentsSetUpStart(const UnitTest& test) override { printer_->OnEnvironmentsSetUpStart(test); }
    void OnEnvironmentsSetUpEnd(const UnitTest& test) override { printer_->OnEnvironmentsSetUpEnd(test); }
    void OnTestSuiteStart(const TestSuite& suite) override { printer_->OnTestSuiteStart(suite); }
    void OnTestStart(const TestInfo& info) override { printer_->OnTestStart(info); }
    void OnTestDisabled(const TestInfo& info) override { printer_->OnTestDisabled(info); }
    void OnTestEnd(const TestInfo& info) override { printer_->OnTestEnd(info); }
    void OnTestSuiteEnd(const TestSuite& suite) override { printer_->OnTestSuiteEnd(suite); }
#ifndef GTEST_REMOVE_LEGACY_TEST_CASEAPI_
    // GoogleTest's printer prints a suite's lines through the older names.
    void OnTestCaseStart(const ::testing::TestCase& suite) override { printer_->OnTestCaseStart(suite); }
    void OnTestCaseEnd(const ::testing::TestCase& suite) override { printer_->OnTestCaseEnd(suite); }
#endif
    void OnEnvironmentsTearDownStart(const UnitTest& test) override { printer_->OnEnvironmentsTearDownStart(test); }
    void OnEnvironmentsTearDownEnd(const UnitTest& test) override { printer_->OnEnvironmentsTearDownEnd(test); }
    void OnTestIterationEnd(const UnitTest& test, int iteration) override {
        printer_->OnTestIterationEnd(test, iteration);
    }
    void OnTestProgramEnd(const UnitTest& test) override { printer_->OnTestProgramEnd(test); }

private:
    std::unique_ptr<TestEventListener> printer_;
};

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::TestEventListeners& listeners = UnitTest::GetInstance()->listeners();
    if (TestEventListener* printer = listeners.Release(listeners.default_result_printer()))
        listeners.Append(new PlainResultPrinter(printer));
    return RUN_ALL_TESTS();
}
