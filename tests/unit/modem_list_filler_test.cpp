// The modem list filler against a scripted source: order of messages, releases and results.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/texts.h"
#include "modems/modem_list_filler.h"

using namespace zelmora;

namespace {

using Log = std::vector<std::string>;

struct ScriptedSource : ModemSource {
    Log &log;
    int failingStep = 0; // 0: none
    ModemStep otherStep = ModemStep::Security;
    std::int32_t otherResult = 0; // otherStep's result, when it is not failingStep
    std::vector<std::pair<std::u16string, std::u16string>> modems;
    std::size_t next = 0;
    explicit ScriptedSource(Log &log) : log(log) {}

    std::int32_t Run(ModemStep step) override {
        log.push_back("step " + std::to_string(int(step)));
        if (int(step) == failingStep)
            return static_cast<std::int32_t>(0x80004005); // E_FAIL
        return step == otherStep ? otherResult : 0;
    }
    bool Next(std::u16string &name, std::u16string &port) override {
        if (next == modems.size())
            return false;
        name = modems[next].first;
        port = modems[next].second;
        ++next;
        return true;
    }
    void ReleaseEnumerator() override { log.push_back("release enumerator"); }
    void ReleaseServices() override { log.push_back("release services"); }
    void ReleaseLocator() override { log.push_back("release locator"); }
    void Uninitialize() override { log.push_back("uninitialize"); }
};

struct RecordingList : ModemListSink {
    Log &log;
    std::vector<std::pair<std::u16string, std::u16string>> rows;
    explicit RecordingList(Log &log) : log(log) {}
    void Clear() override {
        log.push_back("clear");
        rows.clear();
    }
    void AppendRow(const std::u16string &name, const std::u16string &port) override {
        rows.emplace_back(name, port);
    }
    void ShowError(const char16_t *text) override {
        log.push_back("message " +
                      std::string(text, text + std::char_traits<char16_t>::length(text)));
    }
};

Log Steps(int upTo) {
    Log log{"clear"};
    for (int i = 1; i <= upTo; ++i)
        log.push_back("step " + std::to_string(i));
    return log;
}

Log Concat(Log a, const Log &b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

struct FailureCase {
    int step;
    std::string message;
    Log afterMessage;
};

TEST(ModemListFiller, EachFailedStepShowsItsMessageThenUnwinds) {
    const FailureCase cases[] = {
        {1, "Failed to initialize COM library.", {}},
        {2, "Failed to initialize security.", {"uninitialize"}},
        {3, "Failed to create IWbemLocator object.", {"uninitialize"}},
        {4, "Could not connect.", {"release locator", "uninitialize"}},
        {5,
         "Could not set proxy blanket.",
         {"release services", "release locator", "uninitialize"}},
        {6,
         "Query for operating system name failed.",
         {"release services", "release locator", "uninitialize"}},
    };
    for (const FailureCase &c : cases) {
        SCOPED_TRACE(c.step);
        Log log;
        ScriptedSource source(log);
        source.failingStep = c.step;
        source.modems = {{u"never", u"COM1"}};
        RecordingList list(log);
        list.rows = {{u"old", u"COM9"}};
        EXPECT_FALSE(FillModemList(source, list));
        EXPECT_EQ(log, Concat(Concat(Steps(c.step), {"message " + c.message}), c.afterMessage));
        EXPECT_TRUE(list.rows.empty());
    }
}

TEST(ModemListFiller, AppendsModemsInDeliveryOrder) {
    // Security already set (the Update command's second run), and COM already in the other
    // apartment, go on like a first run.
    const std::pair<ModemStep, std::int32_t> results[] = {
        {ModemStep::Security, 0},
        {ModemStep::Security, kSecurityAlreadySet},
        {ModemStep::Security, 1 /* S_FALSE */},
        {ModemStep::Com, 1 /* S_FALSE */},
        {ModemStep::Com, kComModeChanged}};
    for (const auto &[step, result] : results) {
        SCOPED_TRACE(result);
        Log log;
        ScriptedSource source(log);
        source.otherStep = step;
        source.otherResult = result;
        source.modems = {{u"Zeta modem", u"COM7"}, {u"Alpha modem", u"COM2"}, {u"No port", u""}};
        RecordingList list(log);
        list.rows = {{u"stale", u"COM1"}};
        EXPECT_TRUE(FillModemList(source, list));
        EXPECT_EQ(list.rows, source.modems);
        EXPECT_EQ(log, Concat(Steps(6), {"release enumerator", "release services",
                                         "release locator", "uninitialize"}));
    }
}

TEST(ModemListFiller, NoModemsIsQuiet) {
    Log log;
    ScriptedSource source(log);
    RecordingList list(log);
    EXPECT_TRUE(FillModemList(source, list));
    EXPECT_TRUE(list.rows.empty());
    for (const std::string &entry : log)
        EXPECT_EQ(entry.rfind("message", 0), std::string::npos);
}

TEST(ModemListFiller, SerialPortsStandInCOMNumberOrderNamedByTheirDevice) {
    Log log;
    RecordingList list(log);
    list.rows = {{u"Modem from WMI", u"COM4"}};
    AppendSerialPortRows({{u"COM12", u"/dev/ttyUSB0"},
                          {u"LPT9", u""},
                          {u"com2", u""},
                          {u"COM10", u"/dev/serial/by-id/usb-modem"},
                          {u"COMX", u""},
                          {u"COM1", u""}},
                         list);
    const decltype(list.rows) expected = {
        {u"Modem from WMI", u"COM4"}, {u"Serial port", u"COM1"},
        {u"Serial port", u"com2"},    {u"/dev/serial/by-id/usb-modem", u"COM10"},
        {u"/dev/ttyUSB0", u"COM12"},  {u"Serial port", u"COMX"},
        {u"Serial port", u"LPT9"}};
    EXPECT_EQ(list.rows, expected);
}

TEST(ModemListFiller, MessagesAreTheShownTexts) {
    EXPECT_EQ(std::u16string(ModemStepFailure(ModemStep::Query)), kTextQueryFailed);
    EXPECT_EQ(std::u16string(ModemStepFailure(ModemStep::Com)), kTextComFailed);
}

} // namespace
