// The simulated programmer, run the way the program runs it: a batch file holding the command
// line with its output redirected into a report file. Its report bytes and exit codes are those
// of the real programmer, so the report reader is proven against the real shape; the cable it
// lists and its journal are proven by the detection's own tests.
#include "BenchFixture.h"

#include "base/Paths.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/TextFiles.h"

#include <windows.h>

#include <string>

namespace {

const std::string STARS = "Info: *******************************************************************";

std::string Programmer()
{
    char full[MAX_PATH] = {};
    GetFullPathNameA((ExeFolder() + "..\\quartus\\bin\\quartus_pgm.exe").c_str(), MAX_PATH, full, nullptr);
    return full;
}

class ProgrammerPeer : public BenchFixture {
protected:
    // Runs the programmer for one cable through a batch file; returns its exit code, or -1 when
    // it could not be started or did not end in time.
    long Run(int cable)
    {
        const std::string batch = Bench.Folder + "KV7_Batch.bat";
        WriteText(batch, Programmer() + " -c USB-Blaster[USB-" + std::to_string(cable) + "] -a  >  " + Report());
        STARTUPINFOA startup{};
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = SW_HIDE;
        const std::optional<DWORD> code = ChildProcess(batch, CREATE_NEW_CONSOLE, startup).Wait(20000);
        return code ? static_cast<long>(*code) : -1;
    }

    std::string Report() const { return Bench.Folder + "KV7_Output.txt"; }
};

bool EveryLineEndsInCrLf(const std::string& text)
{
    for (size_t i = 0; i < text.size(); ++i)
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r'))
            return false;
    return !text.empty() && text.ends_with("\r\n");
}

} // namespace

TEST_F(ProgrammerPeer, ReportListsTheChainInTheShapeOfARealOne)
{
    Bench.Write("chain = EP3SL340, 020B20DD EP3SL150ES\n");
    EXPECT_EQ(Run(0), 0);
    const std::string report = ReadText(Report());
    EXPECT_TRUE(EveryLineEndsInCrLf(report));
    EXPECT_TRUE(report.starts_with(STARS + "\r\n"));
    EXPECT_NE(report.find("\r\nInfo (213045): Using programming cable \"USB-Blaster [USB-0]\"\r\n"), std::string::npos);
    const std::string chain = "\r\n1) USB-Blaster [USB-0]\r\n"
                              "  120B40DD   EP3SL340\r\n"
                              "  020B20DD   EP3SL150ES\r\n"
                              "\r\n"
                              + STARS + "\r\n"
                              "Info: Quartus II Programmer was successful. 0 errors, 0 warnings\r\n";
    const size_t at = report.find(chain);
    ASSERT_NE(at, std::string::npos) << report;
    // Nothing before the device lines may look like their end.
    EXPECT_EQ(report.find("\r\n\r\nInfo: **********"), at + chain.find("\r\n\r\n"));
    EXPECT_EQ(report.find("Unable to read device chain"), std::string::npos);
}

TEST_F(ProgrammerPeer, BoardWithoutPowerBreaksTheChainYetExitsZero)
{
    Bench.Write("powered = no\nconfigured = yes\n");
    EXPECT_EQ(Run(0), 0);
    const std::string report = ReadText(Report());
    EXPECT_TRUE(EveryLineEndsInCrLf(report));
    EXPECT_NE(report.find("\r\nError (213019): Unable to read device chain - JTAG chain broken\r\n"), std::string::npos);
    EXPECT_EQ(report.find("was successful"), std::string::npos);
    EXPECT_NE(Bench.Text().find("configured = no"), std::string::npos) << "power loss clears the FPGA";

    Bench.Write("chain =\n");
    EXPECT_EQ(Run(0), 0);
    EXPECT_NE(ReadText(Report()).find("Unable to read device chain"), std::string::npos);
}

TEST_F(ProgrammerPeer, ExitCodesForAMissingCableAndFromTheBench)
{
    Bench.Write("cable = no\n");
    EXPECT_EQ(Run(0), 3);
    const std::string report = ReadText(Report());
    EXPECT_NE(report.find("\r\nError (213013): Programming hardware cable not detected\r\n"), std::string::npos);
    EXPECT_EQ(report.find("USB-Blaster [USB-0]\r\n"), std::string::npos);

    Bench.Write("cable = no\nprogrammer_exit = 4\n");
    EXPECT_EQ(Run(0), 4);
    Bench.Write("programmer_exit = 1\n");
    EXPECT_EQ(Run(0), 1);
    EXPECT_NE(ReadText(Report()).find("was successful"), std::string::npos);
}
