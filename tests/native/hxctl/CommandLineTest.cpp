#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/hxctl/CommandLine.h"

namespace hx::ctl {
namespace {

using Args = std::vector<std::string>;

// Good command lines and the request each sends ("" for help).
struct Good {
    Args args;
    std::string request;
};

TEST(CommandLine, GoodInvocationsBuildTheirRequests) {
    const std::string ssid32(32, 's');
    const Good cases[] = {
        {{"status"}, "verb=status"},
        {{"-t", "status"}, "verb=status"},
        {{"scan", "--wait", "5"}, "verb=scan"},
        {{"connect", "Cafe Net"}, "verb=connect ssid=Cafe%20Net"},
        {{"connect", ssid32}, "verb=connect ssid=" + ssid32},
        {{"connect", "--wait", "5", "--", "-dash"}, "verb=connect ssid=-dash"},
        {{"connect", "n", "--bssid=00:1a:2b:3c:4d:5e"}, "verb=connect ssid=n bssid=00-1A-2B-3C-4D-5E"},
        {{"connect", "n", "--wep-key", "2:abcde"}, "verb=connect ssid=n wep-key=2:abcde wep-auth=auto"},
        {{"connect", "n", "--wep-key=4:0123456789abcdef0123456789", "--wep-auth", "shared"},
         "verb=connect ssid=n wep-key=4:0123456789abcdef0123456789 wep-auth=shared"},
        {{"connect", "n", "--passphrase", "--cipher", "aes"}, "verb=connect ssid=n cipher=aes"},
        {{"connect", "n", "--passphrase-file", "p.txt", "--wait", "60"}, "verb=connect ssid=n"},
        {{"profile", "list"}, "verb=profile-list"},
        {{"profile", "load", "Home"}, "verb=profile-load name=Home"},
        {{"profile", "save", "Office 2"}, "verb=profile-save name=Office%202"},
        {{"profile", "delete", "Home"}, "verb=profile-delete name=Home"},
        {{"profile", "export", "Home"}, "verb=profile-get name=Home keys=none"},
        {{"profile", "export", "Home", "--key", "clear"}, "verb=profile-get name=Home keys=clear"},
        {{"profile", "export", "Home", "--wait", "60"}, "verb=profile-get name=Home keys=none"},   // every verb waits
        {{"profile", "import", "a.xml", "--name", "Copy"}, "verb=profile-put"},
        {{"monitor"}, "verb=status"},
        {{"status", "--help"}, ""},
    };
    for (const Good& good : cases) {
        const auto parsed = ParseCommandLine(good.args);
        ASSERT_TRUE(std::holds_alternative<Invocation>(parsed))
            << good.args.front() << ": " << std::get<UsageError>(parsed).message;
        EXPECT_EQ(FormatControlRecord(std::get<Invocation>(parsed).request), good.request) << good.request;
    }
    const Invocation connect = std::get<Invocation>(ParseCommandLine({"-t", "connect", "n", "--passphrase-file=p", "--wait=7"}));
    EXPECT_TRUE(connect.terse);
    EXPECT_EQ(connect.passphraseSource, PassphraseSource::File);
    EXPECT_EQ(connect.passphraseFile, "p");
    EXPECT_EQ(connect.waitSeconds, 7);
    EXPECT_EQ(std::get<Invocation>(ParseCommandLine({"connect", "n"})).waitSeconds, 30);
}

// Bad command lines: refused with a message that names the problem (nothing is sent).
struct Bad {
    Args args;
    std::string inMessage;
};

TEST(CommandLine, BadInvocationsAreRefusedWithAClearMessage) {
    const Bad cases[] = {
        {{}, "no verb"},
        {{"frobnicate"}, "unknown verb 'frobnicate'"},
        {{"profile"}, "profile needs"},
        {{"profile", "rename", "a"}, "unknown profile verb 'rename'"},
        {{"status", "--wait", "3601"}, "0 to 3600"},
        {{"status", "extra"}, "takes no argument"},
        {{"connect"}, "needs an argument"},
        {{"connect", "a", "b"}, "takes one argument"},
        {{"connect", std::string(33, 's')}, "33 bytes"},
        {{"connect", ""}, "SSID is empty"},
        {{"connect", "n", "--wep-key", "5:abcde"}, "index of 1 to 4"},
        {{"connect", "n", "--wep-key", "1:abcdef"}, "6 characters long"},
        {{"connect", "n", "--wep-key", "1:0123456789abcdef012345678g"}, "'g' is not one"},
        {{"connect", "n", "--wep-auth", "open"}, "--wep-auth needs --wep-key"},
        {{"connect", "n", "--wep-key", "1:abcde", "--wep-auth", "psk"}, "open, shared or auto"},
        {{"connect", "n", "--wep-key", "1:abcde", "--passphrase"}, "not both"},
        {{"connect", "n", "--passphrase", "--passphrase-file", "f"}, "not both"},
        {{"connect", "n", "--passphrase=secret123"}, "never taken from the command line"},
        {{"connect", "n", "--cipher", "aes", "--wep-key", "1:abcde"}, "does not go with a WEP key"},
        {{"connect", "n", "--passphrase", "secret123"}, "never taken from the command line"},
        {{"connect", "n", "--passphrase", "--cipher", "wep"}, "tkip or aes"},
        {{"connect", "n", "--bssid", "00-11-22-33-44"}, "six hexadecimal bytes"},
        {{"connect", "n", "--wait", "soon"}, "whole number"},
        {{"connect", "n", "--wait"}, "needs a value"},
        {{"connect", "n", "--wait", "1", "--wait", "2"}, "given twice"},
        {{"scan", "--verbose"}, "unknown option --verbose"},
        {{"profile", "export", "a", "--key", "plain"}, "--key takes clear"},
        {{"profile", "load", ""}, "profile name is empty"},
        {{"monitor", "-t", "--terse=yes"}, "takes no value"},
    };
    for (const Bad& bad : cases) {
        const auto parsed = ParseCommandLine(bad.args);
        ASSERT_TRUE(std::holds_alternative<UsageError>(parsed)) << bad.inMessage;
        EXPECT_NE(std::get<UsageError>(parsed).message.find(bad.inMessage), std::string::npos)
            << std::get<UsageError>(parsed).message;
    }
}

}  // namespace
}  // namespace hx::ctl
