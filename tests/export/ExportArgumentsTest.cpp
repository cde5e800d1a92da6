// The exporter's command line.
#include "export/ExportArguments.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace mr3x::exports;

TEST(ExportArguments, OptionsTakeTheirValuesInEitherFormTheRestAreFilesAndAWrongLineSaysWhatIsWrong)
{
    const ParsedArguments p = parseExportArguments({"--format", "comtrade-binary", "--frequency=60", "--output", "out", "--force",
                                                    "a.trg", "--speed", "63.2", "--size=800x600", "--parameters", "--", "-odd.trg"});
    ASSERT_TRUE(p.arguments) << p.problem;
    const ExportArguments& a = *p.arguments;
    EXPECT_EQ(a.format, ExportFormat::ComtradeBinary);
    EXPECT_EQ(a.lineFrequency, 60);
    EXPECT_EQ(a.outputFolder, "out");
    EXPECT_TRUE(a.force && a.withParameters);
    EXPECT_EQ(a.speed, 632);
    EXPECT_EQ(std::pair(a.width, a.height), std::pair(800, 600));
    EXPECT_EQ(a.files, (std::vector<std::string>{"a.trg", "-odd.trg"}));

    const ParsedArguments defaults = parseExportArguments({"--format=png", "x.TDR"});
    ASSERT_TRUE(defaults.arguments);
    const ExportArguments& d = *defaults.arguments;
    EXPECT_EQ(std::tuple(d.lineFrequency, d.speed, d.width, d.height), std::tuple(50, 540, 1600, 900));
    EXPECT_FALSE(d.force);
    EXPECT_TRUE(isPictureFormat(d.format));

    // The help names every option; ExportCommand runs --help alone.
    for (const char* mention : {"--format", "comtrade-binary", "--frequency", "--output", "--force", "mr3x-export"})
        EXPECT_NE(exportHelp().find(mention), std::string::npos) << mention;

    // A wrong command line says what is wrong and exports nothing.
    const std::vector<std::pair<std::vector<std::string>, std::string>> wrong = {
        {{"a.trg"}, "--format"},
        {{"--format", "jpeg", "a.trg"}, "--format takes"},
        {{"--format", "csv"}, "at least one"},
        {{"--format", "csv", "--frequency", "55", "a.trg"}, "50 or 60"},
        {{"--format", "csv", "--frequency"}, "50 or 60"},
        {{"--format", "csv", "--speed", "25", "a.trg"}, "30.0 to 100.0"},
        {{"--format", "png", "--size", "100x100", "a.trg"}, "200 to 10000"},
        {{"--format", "png", "--size", "800", "a.trg"}, "WIDTHxHEIGHT"},
        {{"--format", "csv", "--verbose", "a.trg"}, "unknown option --verbose"},
        {{"--format", "csv", "--output=", "a.trg"}, "--output takes"},
    };
    for (const auto& [args, words] : wrong) {
        const ParsedArguments p = parseExportArguments(args);
        EXPECT_FALSE(p.arguments) << args.front();
        EXPECT_NE(p.problem.find(words), std::string::npos) << p.problem;
    }
    EXPECT_EQ(pictureSizeOfText(" 1600 X 900 "), (std::pair{1600, 900}));
    EXPECT_EQ(pictureSizeOfText("10000*200"), (std::pair{10000, 200}));
    EXPECT_FALSE(pictureSizeOfText("10001x200"));
    EXPECT_FALSE(pictureSizeOfText("-800x600"));
}
