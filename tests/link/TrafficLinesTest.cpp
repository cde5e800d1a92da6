// The traffic as the link log and the terminal's views write it: text, hex, line breaks, stamps.
#include "link/TerminalTraffic.h"
#include "link/TrafficLines.h"

#include <gtest/gtest.h>

using namespace mr3x::traffic;
using Lines = std::vector<std::string>;

TEST(TrafficLines, TextStaysTextAndEveryOtherByteIsNamedOrInHex)
{
    EXPECT_EQ(logText(std::string("\x06\x02\x03\x18\x18\t\x7F", 7)), "<ACK><STX><ETX><CAN><CAN><HT><DEL>");
    EXPECT_EQ(logText(std::string("\0\xFF\x9C", 3)), "<NUL><FF><9C>");
    EXPECT_EQ(logText("a<b"), "a<3C>b") << "a \"<\" from the unit is never read as a named byte";
}

TEST(TrafficLines, ALineEndsAtALineEndADirectionChangeAPauseOrWhenFull)
{
    LineCutter log(Layout::Log);
    // CR LF split over two reads stays one line end; the stamp is that of the line's first byte.
    EXPECT_EQ(log.feed(0, "t0", Direction::FromUnit, "Finished X\r"), Lines{});
    EXPECT_EQ(log.pending(), "t0 <- Finished X<CR>");
    EXPECT_EQ(log.feed(5, "t5", Direction::FromUnit, "\nM-R32\rnext"), (Lines{"t0 <- Finished X<CR><LF>", "t5 <- M-R32<CR>"}));
    // A send ends the unit's unfinished line; the unit's next words after a pause begin a new one.
    EXPECT_EQ(log.feed(10, "t10", Direction::ToUnit, "X"), (Lines{"t5 <- next"}));
    EXPECT_EQ(log.feed(20, "t20", Direction::FromUnit, "ab"), (Lines{"t10 -> X"}));
    EXPECT_EQ(log.feed(119, "t119", Direction::FromUnit, "c"), Lines{}) << "99 ms is no pause";
    EXPECT_EQ(log.feed(219, "t219", Direction::FromUnit, "\n"), (Lines{"t20 <- abc", "t219 <- <LF>"}));
    EXPECT_EQ(log.feed(220, "t220", Direction::FromUnit, "d"), Lines{});
    EXPECT_EQ(log.flush(), (Lines{"t220 <- d"}));
    EXPECT_EQ(log.flush(), Lines{});

    // A long line is broken after 120 bytes, a CR LF at the break kept with its line.
    LineCutter full(Layout::Log);
    const Lines lines = full.feed(0, "t", Direction::FromUnit, std::string(119, 'a') + "\r\nb");
    EXPECT_EQ(lines, (Lines{"t <- " + std::string(119, 'a') + "<CR><LF>"}));
    EXPECT_EQ(full.feed(1, "t", Direction::FromUnit, std::string(130, 'c')), (Lines{"t <- b" + std::string(119, 'c')}));

    // The screen's text: line ends end lines and are not shown, nor are stamps when there are none.
    LineCutter screen(Layout::Screen);
    EXPECT_EQ(screen.feed(0, "", Direction::FromUnit, "\tV1.2\r\n\x06<ok>\n"), (Lines{"<- \tV1.2", "<- <ACK><ok>"}));
}

TEST(TrafficLines, TheTerminalShowsTheSameTrafficInEitherLayoutAndKeepsTheNewest)
{
    TerminalTraffic traffic;
    traffic.add(0, "12:00:00.000", Direction::ToUnit, "V");
    traffic.add(10, "12:00:00.010", Direction::FromUnit, "M-R32 firmware 3.1\r\nFinished V\r\n");
    EXPECT_EQ(traffic.text(false, true),
              "12:00:00.000 -> V\n12:00:00.010 <- M-R32 firmware 3.1\n12:00:00.010 <- Finished V");
    EXPECT_EQ(traffic.text(true, false),
              "-> 56" + std::string(45, ' ') + "  V\n"
              "<- 4D 2D 52 33 32 20 66 69 72 6D 77 61 72 65 20 33  M-R32 firmware 3\n"
              "<- 2E 31 0D 0A 46 69 6E 69 73 68 65 64 20 56 0D 0A  .1..Finished V..");

    traffic.clear();
    for (int i = 0; i < 40; ++i)
        traffic.add(i * 1000, std::to_string(i), Direction::FromUnit, std::string(1024, char('A' + i % 26)));
    const std::string kept = traffic.text(false, true);
    EXPECT_EQ(kept.substr(0, 5), "8 <- ") << "32 KiB of the newest traffic are kept";
    EXPECT_NE(kept.find("39 <- NNN"), std::string::npos);
}

TEST(TrafficLines, TransferEventsReadAsTheirBlocksAndOutcome)
{
    using Kind = mr3x::ymodem::TransferEvent::Kind;
    // The other kinds' texts are read line for line in the link log of UnitRoadTest's download.
    const std::pair<mr3x::ymodem::TransferEvent, std::string> told[] = {
        {{Kind::Repeated, 2, 0, 2048, 11520, ""}, "block 2: repeated, acknowledged again and dropped"},
        {{Kind::BadBlock, -1, 0, 2048, 11520, "no block arrived in time"}, "no block arrived in time"},
        {{Kind::Failed, -1, 0, 0, 0, "the port was closed"}, "failed, nothing stored: the port was closed"},
    };
    for (const auto& [event, text] : told)
        EXPECT_EQ(transferText(event), text);
}
