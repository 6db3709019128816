// The quick-dial strings from whole command lines, split by the platform's quoting rules.
#include <gtest/gtest.h>

#include "app/startup.h"
#include "base/process_state.h"
#include "base/text_cast.h"
#include "main_window_fixture.h"

using namespace zelmora;

TEST(ReadCommandLine, FollowsTheQuotingRules) {
    struct {
        const wchar_t *commandLine;
        const char *phone;
        const char *port;
        bool hangUp = false;
        const wchar_t *link = L"";
    } cases[] = {
        {L"zelmora.exe /phone:123 /port:COM3", "123", "COM3"},
        {L"zelmora.exe /port:COM3 \"/hangup:now\"", "", "COM3", true},
        {L"\"C:\\Program Files\\zelmora.exe\" \"/phone:1 555 0100\" /port:COM3", "1 555 0100",
         "COM3"},
        {L"zelmora.exe /ph\"one:12\"3 /port:\"COM3\"", "123", "COM3"},
        {L"zelmora.exe \"/phone:12\\\"3\" /port:COM3", "12\"3", "COM3"},
        {L"zelmora.exe /phone:1 /phone /port:COM3", "", "COM3"},
        {L"zelmora.exe", "", ""},
        {L"zelmora.exe /port:COM3 phone:123", "", "COM3"},
        // A link takes nothing else from the command line.
        {L"zelmora.exe /phone:1 /port:COM3 \"tel:+1 555\" callto:2", "", "", false, L"tel:+1 555"},
        {L"zelmora.exe CALLTO://5 /hangup /port:COM3", "", "", false, L"CALLTO://5"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.commandLine)));
        ResetProcessState();
        EXPECT_EQ(ReadCommandLine(c.commandLine), U(c.link));
        EXPECT_STREQ(g_quickDialPhone, c.phone);
        EXPECT_STREQ(g_quickDialPort, c.port);
        EXPECT_EQ(g_quickHangUp, c.hangUp);
    }
    ResetProcessState();
}
