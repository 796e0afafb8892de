// The language library: every text a window asks for exists in both
// languages, the language choice, and the export set.
#include "sprachbank/sprachbank.h"
#include "tests/support/testsupport.h"

#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <set>
#include <sstream>
#include <string>

namespace {

// The language override for the life of the object.
class Language : testsupport::ScopedEnv {
public:
    explicit Language(const char* code) : ScopedEnv("SPRACHBANK_LANGUAGE", code) {}
};

// The numbers the program asks for.
constexpr int kLastCaption = 30;
constexpr int kLastMessage = 31;
constexpr int kLastError = 15;
// The tuner's listening.
constexpr int kFirstListeningCaption = 200;
constexpr int kLastListeningCaption = 213;

} // namespace

TEST(Sprachbank, EveryNumberHasATextInBothLanguages) {
    for (const char* code : {"0", "1"}) {
        Language language(code);
        for (int n = 1; n <= kLastCaption; ++n) EXPECT_STRNE(DLL_GetCaption(n), "") << code << n;
        for (int n = kFirstListeningCaption; n <= kLastListeningCaption; ++n)
            EXPECT_STRNE(DLL_GetCaption(n), "") << code << n;
        for (int n = 1; n <= kLastMessage; ++n) EXPECT_STRNE(DLL_GetMessage(n), "") << code << n;
        for (int n = 1; n <= kLastError; ++n) EXPECT_STRNE(DLL_GetErrStr(n), "") << code << n;
    }
}

TEST(Sprachbank, GermanDefaultsInWindows1252) {
    Language german("0");
    EXPECT_STREQ(DLL_GetCaption(1), "OK");
    EXPECT_STREQ(DLL_GetCaption(2), "Abbrechen");
    EXPECT_STREQ(DLL_GetCaption(3), "Ja");
    EXPECT_STREQ(DLL_GetCaption(4), "Nein");
    EXPECT_STREQ(DLL_GetCaption(8), "Zur\xFC" "ck");
    EXPECT_STREQ(DLL_GetCaption(11), "\xDC" "beplan");
    EXPECT_STREQ(DLL_GetCaption(18), "Neue \xDC" "bung");
    EXPECT_STREQ(DLL_GetCaption(25), "\xDC" "bezeit");
    EXPECT_STREQ(DLL_GetCaption(26), "E Dur");
    EXPECT_STREQ(DLL_GetCaption(30), "Soundcard");
}

TEST(Sprachbank, LanguageOverrideAndTexts) {
    {
        Language german("0");
        EXPECT_EQ(DLL_GetLanguage(), 0);
        EXPECT_STREQ(DLL_GetCaption(16), "Beenden");
    }
    {
        Language english("1");
        EXPECT_EQ(DLL_GetLanguage(), 1);
        EXPECT_STREQ(DLL_GetCaption(16), "Quit");
    }
    {
        // Any code but 0 reads the English texts; 2 is reported as it is.
        Language other("2");
        EXPECT_EQ(DLL_GetLanguage(), 2);
        EXPECT_STREQ(DLL_GetCaption(16), "Quit");
    }
}

TEST(Sprachbank, LanguageFollowsTheLocaleWithoutOverride) {
    Language none(nullptr);
    testsupport::ScopedEnv messages("LC_MESSAGES"), lang("LANG");
    {
        testsupport::ScopedEnv all("LC_ALL", "de_DE.UTF-8");
        EXPECT_EQ(DLL_GetLanguage(), 0);
    }
    {
        testsupport::ScopedEnv all("LC_ALL", "en_GB.UTF-8");
        EXPECT_EQ(DLL_GetLanguage(), 1);
    }
    testsupport::ScopedEnv all("LC_ALL");
    {
        testsupport::ScopedEnv german("LANG", "de_AT.UTF-8");
        EXPECT_EQ(DLL_GetLanguage(), 0);
    }
    testsupport::ScopedEnv c("LANG", "C");
    EXPECT_EQ(DLL_GetLanguage(), 1);
    Language bad("zwei");
    EXPECT_EQ(DLL_GetLanguage(), 1); // not a number: the locale decides
}

TEST(Sprachbank, UnknownNumbersGiveAnEmptyText) {
    for (int n : {-1, 0, 31, 1000}) {
        ASSERT_NE(DLL_GetCaption(n), nullptr);
        EXPECT_STREQ(DLL_GetCaption(n), "");
    }
    EXPECT_STREQ(DLL_GetMessage(32), "");
    EXPECT_STREQ(DLL_GetErrStr(16), "");
    EXPECT_STREQ(DLL_GetErrStr(0), "");
}

TEST(Sprachbank, ExitSentencePiecesCarryTheirOwnSpaces) {
    for (const char* code : {"0", "1"}) {
        Language language(code);
        std::string sentence = std::string(DLL_GetMessage(21)) + "02" + DLL_GetMessage(22) + "5" +
                               DLL_GetMessage(24);
        EXPECT_EQ(sentence.find("  "), std::string::npos) << sentence;
        EXPECT_NE(sentence.find(" 02 "), std::string::npos) << sentence;
        EXPECT_NE(sentence.find(" 5 "), std::string::npos) << sentence;
        EXPECT_EQ(std::string(DLL_GetMessage(21)).back(), ' ');
    }
}

TEST(Sprachbank, ExportsExactlyTheFourFunctions) {
    // The names are read straight from the pipe; no file is left behind.
    std::string command = std::string("nm -D --defined-only ") + SPRACHBANK_LIBRARY +
                          " | awk '$2 ~ /^[TtDdBbRrVvWwiu]$/ {print $3}'";
    std::FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::set<std::string> names;
    char line[256];
    while (std::fgets(line, sizeof line, pipe) != nullptr) {
        std::string name(line);
        while (!name.empty() && (name.back() == '\n')) name.pop_back();
        if (!name.empty()) names.insert(name);
    }
    ASSERT_EQ(pclose(pipe), 0);
    EXPECT_EQ(names, (std::set<std::string>{"DLL_GetCaption", "DLL_GetErrStr", "DLL_GetLanguage",
                                             "DLL_GetMessage"}));
}
