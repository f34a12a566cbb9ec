/*
 * Chain detection from folders named in the account's language. cmd reads the batch file in
 * its console's code page while the program's text is ANSI: in a folder with letters outside
 * ASCII, a batch line spelled in the wrong one names a folder that does not exist, and nothing
 * is found. The line must also read the same whatever code page the console was switched to
 * (an account's console settings, a chcp at cmd's start), so it must be plain ASCII. The cases run once per locale CTest gives them (LC_ALL, from which Wine takes both
 * code pages), and first check that the locale took, so that one which is not installed fails
 * instead of passing on Western code pages.
 */
#include "ChainDesk.h"

#include "base/Handles.h"
#include "base/PathSpelling.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/QuartusRegistry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

struct Language {
    const char* Locale;
    UINT Ansi;
    UINT Oem;
    const wchar_t* Account; // a temporary folder named after the account
    const wchar_t* Quartus; // an installation folder; "€" is in the ANSI code page, not the OEM one
};
constexpr Language LANGUAGES[] = {
    {"de_DE.UTF-8", 1252, 850, L"Jürgen Weiß", L"Programme für Hélène 5€"},
    {"ru_RU.UTF-8", 1251, 866, L"Смирнова", L"Программы за 5€"},
};

// Letters neither language's ANSI code page has: the A functions answer "?" for Chinese, and a
// best-fit spelling of the Polish ones ("l" for "ł", with no default character used) would name
// another folder: a Polish account on a Western-European Windows is common.
constexpr wchar_t FOREIGN_ACCOUNT[] = L"王小明";
constexpr wchar_t POLISH_ACCOUNT[] = L"Michał";
constexpr wchar_t FOREIGN_QUARTUS[] = L"Narzędzia Michała";

const Language* LanguageOfLocale()
{
    char locale[64] = "";
    GetEnvironmentVariableA("LC_ALL", locale, sizeof locale);
    for (const Language& language : LANGUAGES)
        if (std::string(locale) == language.Locale)
            return &language;
    return nullptr;
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The detection's temporary folder and a Quartus installation with the simulated programmer,
// both inside the desk and named through the wide functions, as an account or an installer
// names them; the registry names the installation. Removed after, the A functions that remove
// the desk could not name them.
class NamedFolders {
public:
    NamedFolders(const ChainDesk& desk, const QuartusRegistry& registry, const std::wstring& temp,
                 const std::wstring& quartus)
        : Temp(Widened(desk.Folder) + temp + L"\\"), Quartus(Widened(desk.Folder) + quartus)
    {
        // Wine takes the code pages from the locale's name, but names such a file on disk only
        // under an installed locale.
        EXPECT_TRUE(CreateDirectoryW(Temp.c_str(), nullptr)) << "is the locale installed (locales-all)?";
        EXPECT_TRUE(CreateDirectoryW(Quartus.c_str(), nullptr));
        EXPECT_TRUE(CreateDirectoryW(Bin().c_str(), nullptr));
        const std::wstring simulated = Widened(registry.Original()) + L"\\bin\\quartus_pgm.exe";
        EXPECT_TRUE(CopyFileW(simulated.c_str(), Programmer().c_str(), TRUE));
        SetEnvironmentVariableW(L"TMP", Temp.c_str());
        SetEnvironmentVariableW(L"TEMP", Temp.c_str());
        UniqueKey key;
        EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, QUARTUS_KEY, 0, KEY_SET_VALUE, key.Put()), ERROR_SUCCESS);
        EXPECT_EQ(RegSetValueExW(key.Get(), Widened(QUARTUS_VALUE).c_str(), 0, REG_SZ,
                                 reinterpret_cast<const BYTE*>(Quartus.c_str()),
                                 static_cast<DWORD>((Quartus.size() + 1) * sizeof(wchar_t))),
                  ERROR_SUCCESS);
    }
    ~NamedFolders()
    {
        DeleteFileW(Programmer().c_str());
        RemoveDirectoryW(Bin().c_str());
        RemoveDirectoryW(Quartus.c_str());
        RemoveDirectoryW(Temp.c_str());
    }
    NamedFolders(const NamedFolders&) = delete;
    NamedFolders& operator=(const NamedFolders&) = delete;

    // The batch file as the detection will write it, named in the ANSI code page.
    std::string BatchPath() const { return SpellPath(Temp, AnsiCodePage()).Text + "KV7_Batch.bat"; }

    bool NoFileLeft() const { return !Exists(Temp + L"KV7_Batch.bat") && !Exists(Temp + L"KV7_Output.txt"); }

private:
    std::wstring Bin() const { return Quartus + L"\\bin"; }
    std::wstring Programmer() const { return Bin() + L"\\quartus_pgm.exe"; }

    const std::wstring Temp;
    const std::wstring Quartus;
};

class DetectChainCodePage : public testing::Test {
protected:
    void SetUp() override
    {
        Lang = LanguageOfLocale();
        ASSERT_NE(Lang, nullptr) << "LC_ALL names none of the languages these cases are for";
        ASSERT_EQ(GetACP(), Lang->Ansi) << "Wine did not take the code pages of " << Lang->Locale;
        ASSERT_EQ(GetOEMCP(), Lang->Oem) << "Wine did not take the code pages of " << Lang->Locale;
    }

    // One detection from the named folders: the board is found, the programmer ran once, and
    // both temporary files are gone from the named folder.
    void ExpectFoundFrom(const std::wstring& temp, const std::wstring& quartus) const
    {
        QuartusRegistry registry;
        ChainDesk desk;
        NamedFolders folders(desk, registry, temp, quartus);
        BatchCapture batch(folders.BatchPath());
        TDetection found = Detect();

        EXPECT_TRUE(found.Ok) << desk.JournalText();
        ASSERT_EQ(found.List.size(), 1u);
        EXPECT_STREQ(found.List[0]->DeviceName, "EP3SL340ES");
        EXPECT_EQ(desk.JournalLines("programmer start").size(), 1u) << desk.JournalText();
        EXPECT_TRUE(folders.NoFileLeft());
        EXPECT_TRUE(batch.Captured);
        EXPECT_TRUE(std::all_of(batch.Bytes.begin(), batch.Bytes.end(), [](char c) { return c > 0; }))
            << "not plain ASCII: " << batch.Bytes;
    }

    const Language* Lang = nullptr;
};

} // namespace

TEST_F(DetectChainCodePage, FoldersInTheAccountsLanguage) { ExpectFoundFrom(Lang->Account, Lang->Quartus); }

// Neither code page spells these: both folders go by their short names.
TEST_F(DetectChainCodePage, FoldersTheAnsiCodePageCannotSpell)
{
    ExpectFoundFrom(FOREIGN_ACCOUNT, FOREIGN_QUARTUS);
    ExpectFoundFrom(POLISH_ACCOUNT, FOREIGN_QUARTUS);
}
