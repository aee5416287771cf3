#include "base/log.h"

#include <gtest/gtest.h>

#include "base/runtime_error.h"
#include "support/fakes.h"
#include "support/temp_folder.h"

namespace corvane {
namespace {

using namespace corvane::testing;

TEST(LogLine, PrefixPaddingToColumn100AndDate) {
    const LocalTime december{2026, 12, 5, 14, 3, 9};
    const LocalTime april{2009, 4, 7, 0, 0, 0};
    const LocalTime january{2026, 1, 2, 3, 4, 5};
    const struct {
        std::string text;
        int type;
        const LocalTime* dated;
        std::string line;
    } cases[] = {
        {"Started", LOG_INFO, &december, "I: Started" + std::string(90, ' ') + ": 05-Dec-26 14:03:09\r\n"},
        // A separator: no prefix, fill or date.
        {std::string(100, '-'), LOG_PLAIN, nullptr, std::string(100, '-') + "\r\n"},
        // Longer than the column: kept whole, the date follows.
        {std::string(150, 'x'), LOG_WARNING, &april, "W: " + std::string(150, 'x') + ": 07-Apr-09 00:00:00\r\n"},
        {"x", LOG_ERROR, nullptr, "E: x" + std::string(96, ' ') + "\r\n"},
        {"x", 7, nullptr, "x" + std::string(99, ' ') + "\r\n"},  // an unknown type has no prefix
        // "I: Café" is 7 characters, not 8 bytes: 93 blanks follow.
        {"Caf\xC3\xA9", LOG_INFO, &january, "I: Caf\xC3\xA9" + std::string(93, ' ') + ": 02-Jan-26 03:04:05\r\n"},
        // Control characters are escaped so that an event stays one line.
        {"a\r\nb\tc", LOG_INFO, nullptr, "I: a\\r\\nb\\tc" + std::string(88, ' ') + "\r\n"},
        {std::string("z\0y\x01\x7F", 5), LOG_INFO, nullptr, "I: z\\x00y\\x01\\x7F" + std::string(83, ' ') + "\r\n"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Format_Log_Line(c.text, c.type, c.dated != nullptr, c.dated ? *c.dated : LocalTime{}), c.line)
            << c.text;
    }
}

class LogFile : public ::testing::Test {
protected:
    TempFolder folder;
    std::string path = folder.File("Corvane.log");
    FakeClock clock;
};

// Events and errors (number, description, source) appended in the ANSI code
// page after what the file held.
TEST_F(LogFile, AppendsEventsAndErrorsInTheAnsiCodePageAfterEarlierContent) {
    Write_File(path, "earlier\r\n");
    {
        clsLog log(path, clock);
        log.Log_Event("ignored before Start_Logging", LOG_INFO, true);
        log.Start_Logging(path);
        log.Log_Event("Caf\xC3\xA9", LOG_INFO, false);
        log.Log_Error("Fix failed", RuntimeError(5, "Invalid procedure call or argument"));
    }
    EXPECT_EQ(Read_File(path), "earlier\r\nI: Caf\xE9" + std::string(93, ' ') +
                                   "\r\nE: Fix failed: ErrNo=5: ErrDesc=Invalid procedure call or argument: "
                                   "ErrSrc=Corvane" +
                                   std::string(18, ' ') + ": 05-Dec-26 14:03:09\r\n");
}

TEST_F(LogFile, RestartsEmptyOnlyOncePastOneMebibyte) {
    for (const std::size_t size : {kLogRestartSize, kLogRestartSize + 1}) {
        Write_File(path, std::string(size, 'a'));
        clsLog log(path, clock);
        log.Start_Logging(path);
        log.Log_Event("x", LOG_PLAIN, false);
        EXPECT_EQ(Read_File(path).size(), size > kLogRestartSize ? 102u : size + 102u) << size;
    }
}

TEST_F(LogFile, AnUnwritablePathLosesTheLineSilently) {
    clsLog log(folder.File("missing-folder/Corvane.log"), clock);
    log.Start_Logging(folder.File("missing-folder/Corvane.log"));
    EXPECT_NO_THROW(log.Log_Event("lost", LOG_INFO, true));
}

}  // namespace
}  // namespace corvane
