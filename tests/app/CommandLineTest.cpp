#include <fstream>
#include <initializer_list>
#include <iterator>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/CommandLine.h"

namespace {
CommandLine::Outcome parse(CommandLine& cl, std::initializer_list<const char*> args) {
    std::vector<std::string> storage = {"kelvo"};
    storage.insert(storage.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& s : storage) {
        argv.push_back(s.data());
    }
    return cl.parse(static_cast<int>(argv.size()), argv.data());
}

std::string sourceFile(const std::string& path) {
    std::ifstream in(std::string(KELVO_SRC) + "/" + path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
}  // namespace

TEST(CommandLine, DefaultsAndOptions) {
    CommandLine plain;
    EXPECT_EQ(parse(plain, {}), CommandLine::Outcome::Run);
    EXPECT_FALSE(plain.window);
    EXPECT_FALSE(plain.seedGiven);
    EXPECT_EQ(plain.frames, 0);

    CommandLine all;
    EXPECT_EQ(parse(all, {"--window", "--seed", "4294967295", "--frames", "120"}), CommandLine::Outcome::Run);
    EXPECT_TRUE(all.window);
    EXPECT_TRUE(all.seedGiven);
    EXPECT_EQ(all.seed, 4294967295u);
    EXPECT_EQ(all.frames, 120);

    CommandLine help;
    EXPECT_EQ(parse(help, {"--window", "--help"}), CommandLine::Outcome::ExitSuccess);
    EXPECT_NE(CommandLine::usage("kelvo").find("--frames"), std::string::npos);

    CommandLine data;
    EXPECT_EQ(parse(data, {"--data", "/opt/kelvo/data", "--window"}), CommandLine::Outcome::Run);
    EXPECT_EQ(data.dataFolder, "/opt/kelvo/data");
    EXPECT_TRUE(data.window) << "--data consumes exactly one argument";

    CommandLine version;
    EXPECT_EQ(parse(version, {"--version", "--bogus"}), CommandLine::Outcome::ShowVersion);
    for (const char* option : {"--data DIR", "--version"}) {
        EXPECT_NE(CommandLine::usage("kelvo").find(option), std::string::npos) << option;
    }
}

TEST(CommandLine, AutopilotAndBenchmarkOptions) {
    CommandLine plain;
    ASSERT_EQ(parse(plain, {}), CommandLine::Outcome::Run);
    EXPECT_FALSE(plain.autopilot);
    EXPECT_FALSE(plain.benchmark);
    EXPECT_FALSE(plain.checkWalls);
    EXPECT_EQ(plain.mazeSize, 0) << "the game's own default stays";
    EXPECT_EQ(plain.enemyCount, 0);

    CommandLine bench;
    ASSERT_EQ(parse(bench, {"--benchmark"}), CommandLine::Outcome::Run);
    EXPECT_TRUE(bench.autopilot) << "a benchmark plays itself";
    EXPECT_TRUE(bench.seedGiven) << "and replays the same mazes";
    EXPECT_EQ(bench.seed, CommandLine::benchmarkSeed);
    EXPECT_EQ(bench.frames, CommandLine::benchmarkFrames);
    EXPECT_TRUE(bench.fixedStep) << "a benchmark must play the same on every machine";
    EXPECT_FALSE(plain.fixedStep);

    CommandLine chosen;
    ASSERT_EQ(parse(chosen, {"--frames", "50", "--benchmark", "--seed", "0", "--maze", "80", "--enemies", "400",
                             "--check-walls", "--levels", "10", "--shaders"}),
              CommandLine::Outcome::Run);
    EXPECT_EQ(chosen.levels, 10);
    EXPECT_EQ(chosen.seed, 0u) << "an explicit seed wins, even 0";
    EXPECT_EQ(chosen.frames, 50) << "an explicit frame count wins over the default";
    EXPECT_EQ(chosen.mazeSize, 80);
    EXPECT_EQ(chosen.enemyCount, 400);
    EXPECT_TRUE(chosen.checkWalls);
    EXPECT_TRUE(chosen.forceShaders);
    EXPECT_FALSE(chosen.noShaders);
    EXPECT_FALSE(bench.forceShaders);
    CommandLine plainLight;
    ASSERT_EQ(parse(plainLight, {"--no-shaders"}), CommandLine::Outcome::Run);
    EXPECT_TRUE(plainLight.noShaders);
    EXPECT_FALSE(plainLight.forceShaders);

    CommandLine small;
    ASSERT_EQ(parse(small, {"--autopilot", "--maze", "3", "--enemies", "5"}), CommandLine::Outcome::Run);
    EXPECT_TRUE(small.autopilot);
    EXPECT_FALSE(small.seedGiven) << "autopilot alone keeps random mazes";
    EXPECT_EQ(small.frames, 0);
    EXPECT_EQ(small.mazeSize, 3);
    EXPECT_EQ(small.enemyCount, 5);

    CommandLine watch;
    ASSERT_EQ(parse(watch, {"--replay", "run.replay", "--fast", "--window"}), CommandLine::Outcome::Run);
    EXPECT_EQ(watch.replayFile, "run.replay");
    EXPECT_TRUE(watch.fast);
    EXPECT_TRUE(watch.window);

    for (const char* option : {"--autopilot", "--benchmark", "--maze N", "--enemies N", "--check-walls", "--levels N",
                               "--shaders", "--no-shaders", "--fixed-step", "--no-record", "--replay FILE", "--fast"}) {
        EXPECT_NE(CommandLine::usage("kelvo").find(option), std::string::npos) << option;
    }
}

TEST(CommandLine, RejectsUnknownAndMalformedArguments) {
    for (auto args : {std::initializer_list<const char*>{"--bogus"}, {"--seed"}, {"--seed", "-1"},
                      {"--seed", "12x"}, {"--frames", "0"}, {"--frames"}, {"--frames", "ten"},
                      {"--seed", "99999999999"}, {"window"}, {"--data"}, {"--data", ""},
                      {"--maze", "2"}, {"--maze", "81"}, {"--maze"}, {"--maze", "20.5"}, {"--enemies", "4"},
                      {"--enemies", "401"}, {"--enemies", "-5"}, {"--enemies"}, {"--levels", "0"}, {"--levels"},
                      {"--press"}, {"--press", "13"}, {"--press", "0:13"}, {"--press", "5:256"}, {"--press", "5:"},
                      {"--press", ":13"}, {"--press", "5:13x"}, {"--replay"}, {"--fast"},
                      {"--shaders", "--no-shaders"}, {"--replay", "a.replay", "--no-shaders"},
                      // A replay brings its own seed, settings and input.
                      {"--replay", "a.replay", "--autopilot"}, {"--replay", "a.replay", "--seed", "3"},
                      {"--replay", "a.replay", "--maze", "20"}, {"--benchmark", "--replay", "a.replay"}}) {
        CommandLine cl;
        EXPECT_EQ(parse(cl, args), CommandLine::Outcome::ExitUsageError) << *args.begin();
        EXPECT_FALSE(cl.error.empty());
    }
}

// The hooks for end-to-end runs (scripted keys in order and repeatable, the
// ball's tile trace) are not advertised to players.
TEST(CommandLine, PressesKeysAtFrames) {
    CommandLine cl;
    EXPECT_EQ(parse(cl, {"--press", "10:13", "--frames", "60", "--press", "20:32"}), CommandLine::Outcome::Run);
    ASSERT_EQ(cl.presses.size(), 2u);
    EXPECT_EQ(cl.presses[0].frame, 10);
    EXPECT_EQ(cl.presses[0].key, 13);
    EXPECT_EQ(cl.presses[1].frame, 20);
    EXPECT_EQ(cl.presses[1].key, 32);
    EXPECT_EQ(CommandLine::usage("kelvo").find("--press"), std::string::npos);

    CommandLine traced;
    EXPECT_FALSE(traced.traceBall);
    EXPECT_EQ(parse(traced, {"--trace-ball"}), CommandLine::Outcome::Run);
    EXPECT_TRUE(traced.traceBall);
    EXPECT_EQ(CommandLine::usage("kelvo").find("--trace-ball"), std::string::npos);
}

// The README shows the options exactly as `--help` prints them, the manual
// page describes each with its value, and no player's document names an
// option `--help` does not know or gives it another value.
TEST(CommandLine, DocumentsAgreeWithTheOptionTable) {
    const std::string usage = CommandLine::usage("kelvo");
    const size_t first = usage.find("Options:\n") + 9;
    const std::string optionLines = usage.substr(first, usage.find("\n\n", first) + 1 - first);
    const std::string readme = sourceFile("README.md");
    EXPECT_NE(readme.find(optionLines), std::string::npos) << "README.md lacks, as --help prints it:\n" << optionLines;

    const std::string manual = sourceFile("dist/kelvo.6.in");
    std::set<std::string> names;
    for (const CommandLine::OptionText& option : CommandLine::options()) {
        names.insert(option.name);
        const std::string escaped = std::regex_replace(option.name, std::regex("-"), "\\-");
        const bool described = option.argument.empty() ? manual.find("\n.B " + escaped + "\n") != std::string::npos ||
                                                             manual.find("\n.BR " + escaped + " ") != std::string::npos
                                                       : manual.find("\n.BI " + escaped + " \" " + option.argument +
                                                                     "\"") != std::string::npos;
        EXPECT_TRUE(described) << "the manual page lacks " << option.name << " " << option.argument;
    }
    // An option, its value's placeholder if written beside it, and whether
    // it belongs to cmake instead.
    const std::regex named(R"((cmake )?(?:--|\\-\\-)([a-z][a-z\\-]*)(?:(?: |" |\n\.IR? )([A-Z]+)\b)?)");
    for (const char* path : {"README.md", "dist/kelvo.6.in", "dist/windows/README.txt"}) {
        const std::string text = sourceFile(path);
        ASSERT_FALSE(text.empty()) << path;
        for (std::sregex_iterator it(text.begin(), text.end(), named), end; it != end; ++it) {
            if ((*it)[1].matched) {
                continue;
            }
            const std::string name = "--" + std::regex_replace((*it)[2].str(), std::regex(R"(\\-)"), "-");
            EXPECT_EQ(names.count(name), 1u) << path << " names " << name << ", which --help does not list";
            for (const CommandLine::OptionText& option : CommandLine::options()) {
                if (option.name == name && (*it)[3].matched) {
                    EXPECT_EQ((*it)[3].str(), option.argument) << path << ": the value of " << name;
                }
            }
        }
    }
}
