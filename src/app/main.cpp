#include <cstdio>
#include <string>
#include <vector>

#include <GL/glew.h>
#include <GL/freeglut.h>

#include "app/Challenge.h"
#include "app/CommandLine.h"
#include "app/DataLocator.h"
#include "app/DisplayMode.h"
#include "app/FrameHooks.h"
#include "app/FrameLoop.h"
#include "app/FramePacer.h"
#ifdef KELVO_GAMEPAD
#include "app/Gamepad.h"
#endif
#include "app/Globals.h"
#include "app/Input.h"
#include "app/LevelSeeds.h"
#include "app/Music.h"
#include "app/PlayInput.h"
#include "app/ProcessEnd.h"
#include "app/Rules.h"
#include "app/SceneAssembly.h"
#include "app/ShaderPolicy.h"
#include "challenge/DailyMaze.h"
#include "gui/SgGUI.h"
#include "harness/Autopilot.h"
#include "harness/FloorFrames.h"
#include "harness/FrameStats.h"
#include "harness/ParTime.h"
#include "harness/RunChecks.h"
#include "physics/SgParticleController.h"
#include "physics/SgPlayer.h"
#include "platform/Console.h"
#include "platform/PerformanceCounter.h"
#include "platform/Process.h"
#include "platform/SwapControl.h"
#include "platform/UserFolders.h"
#include "profile/PlayerFiles.h"
#include "profile/Settings.h"
#include "replay/Replay.h"
#include "replay/ReplayPlayer.h"
#include "replay/ReplayRecorder.h"
#include "replay/StateHash.h"
#include "window/FullScreen.h"
#include "window/Screenshot.h"

namespace {
// Present only for the runs that ask for them.
Autopilot* pilot = nullptr;
FrameStats* stats = nullptr;
bool checkWalls = false;
bool traceBall = false;
RunChecks ballTrace;
unsigned runSeed = 0;
// The state hash runs in every run that records, plays back or measures.
StateHash stateHash;
ReplayRecorder* recorder = nullptr;
ReplayPlayer* playback = nullptr;
bool gamePlayed = false;  // a run that never left the menu saves no replay
// --benchmark draws as fast as it can: no cap, no vsync. A replay keeps the
// pace it was recorded at (--fast: no vsync either).
bool unpaced = false;
bool vsyncOff = false;
SwapControl::Vsync vsync = SwapControl::Vsync::NotOffered;

#ifdef KELVO_GAMEPAD
// Polled once per tick in a run a person plays.
Gamepad* gamepad = nullptr;
#endif

void foldState() {
    if (player != nullptr) {
        stateHash.fold(*player, level, particleController);
    }
}

void recordTick() {
    recorder->endTick(stateHash.value());
    gamePlayed = gamePlayed || (mainGUI != nullptr && mainGUI->isGameRunning());
}

// Says how a replay ended and ends the process; nothing while it plays.
void actOnReplay(const ReplayPlayer::Report& report) {
    switch (report.outcome) {
    case ReplayPlayer::Report::Outcome::Playing:
        return;
    case ReplayPlayer::Report::Outcome::Finished:
        printf("replay ok: ticks %zu, state %s\n", report.tick, StateHash::text(report.state).c_str());
        endProcess(0);
    case ReplayPlayer::Report::Outcome::Diverged:
        fprintf(stderr, "replay diverged at tick %zu\n", report.tick);
        endProcess(ReplayPlayer::divergedExitCode);
    case ReplayPlayer::Report::Outcome::Left:
        printf("replay left at tick %zu of %zu\n", report.tick, playback->tickCount());
        endProcess(0);
    }
}

void checkReplayTick() { actOnReplay(playback->checkTick(stateHash.value())); }

void steerAutopilot() {
    pilot->tick();
    if (pilot->finished()) {
        endProcess(0);
    }
}

void saveReplay() {
    if (recorder == nullptr || !gamePlayed) {
        return;
    }
    std::string path;
    std::string error;
    const std::string folder = UserFolders::dataFolder();
    if (recorder->save(folder.empty() ? folder : folder + "/replays", path, error)) {
        printf("replay saved: %s (state %s)\n", path.c_str(), StateHash::text(stateHash.value()).c_str());
    } else {
        fprintf(stderr, "kelvo: replay not saved: %s\n", error.c_str());
    }
}
// Command-line choices that the settings file must not undo for this run.
bool windowForced = false;
bool defaultMouse = false;

void recordFrame(const FrameTimes& times) {
    stats->record(times.elapsedSeconds, times.ticks, times.simulationSeconds, times.renderSeconds);
}

void printBenchmark() {
    FILE* out = Console::messages();
    fprintf(out, "seed: %u\nmaze: %d\nenemies: %d\nwindow: %dx%d\nshaders: %s\nculling: %s\nvsync: %s\n", runSeed,
            curLevelSize, curEnemyCount, width, height, shaderSupported ? "on" : "off",
            renderer.culling ? "on" : "off", SwapControl::text(vsync));
    fputs(stats->report(pilot->levelsWon, pilot->levelsLost).c_str(), out);
    // The floors, measured in the game's own window right after its last
    // frame (so under the same load), unless the run ended early: a closed
    // window has nothing left to draw in. About half a second each.
    if (frameLimit > 0 && framesDrawn >= frameLimit) {
        fputs(FloorFrames::measureBoth(shaderSupported, 300, 0.5).c_str(), out);
    }
    fprintf(out, "state: %s\n", StateHash::text(stateHash.value()).c_str());
    fflush(out);
}

bool ending = false;

void beforeEnd() {
    ending = true;
    saveReplay();
    if (stats != nullptr) {
        printBenchmark();
    }
}

// A person closing the window ends the run as the menu's exit does (the
// replay is saved). freeglut also destroys the window while the process
// exits, which must not start a second exit.
void onWindowClosed() {
    if (!ending) {
        endProcess(0);
    }
}

// A window of the configured size, covering the screen when full screen.
void openWindow(const DisplayMode& mode, bool fullScreen) {
    width = mode.width;
    height = mode.height;
    glutInitWindowSize(mode.width, mode.height);
    glutCreateWindow("Kelvo");
    setWindowedSize(mode.width, mode.height);
    setFullScreen(fullScreen);
}

// Needs the window's OpenGL context.
void applyPacing() {
    framePacer.setUnpaced(unpaced);
    framePacer.setMaxFps(unpaced ? 0 : settings.maxFps);
    vsync = SwapControl::request(!vsyncOff && settings.vsync);
}

// The settings the options screen does not show take effect at start and
// whenever the settings file is saved.
void applySettings() {
    applyPacing();
    if (!defaultMouse) {
        mouseSensitivity = settings.mouseSensitivity;
        invertMouseY = settings.invertMouseY;
    }
    applyVolumes();
    if (!windowForced) {
        setFullScreen(settings.fullscreen);
    }
}

// Every loader opens its files as "data/...", so the folder holding the
// chosen data folder becomes the working directory for the rest of the run.
// The settings are re-read from the file the search chose (the static loader
// only saw the working directory's "kelvo.cfg").
bool enterDataFolder(const CommandLine& options) {
    DataLocator locator = DataLocator::fromProcess(options.dataFolder, KELVO_INSTALLED_ROOT);
    if (!locator.locate()) {
        fprintf(stderr, "kelvo: %s\n", locator.error.c_str());
        return false;
    }
    if (!Process::changeWorkingDirectory(locator.root)) {
        fprintf(stderr, "kelvo: cannot enter %s\n", locator.root.c_str());
        return false;
    }
    configLoader = ConfigLoader(locator.configFile);
    const std::string note = locator.announcement();
    if (!note.empty()) {
        printf("%s\n", note.c_str());
    }
    return true;
}

constexpr int keepRunning = -1;

// Parses the options from UTF-8 arguments, so --data names any folder.
// Returns the exit code when the run ends here (help, version, a usage
// error), else keepRunning.
int parseOptions(int argc, char** argv, CommandLine& options) {
    std::vector<std::string> arguments = Process::arguments(argc, argv);
    std::vector<char*> utf8Argv;
    for (std::string& argument : arguments) {
        utf8Argv.push_back(argument.data());
    }
    utf8Argv.push_back(nullptr);
    switch (options.parse(static_cast<int>(arguments.size()), utf8Argv.data())) {
    case CommandLine::Outcome::ExitSuccess:
        fputs(CommandLine::usage(argv[0]).c_str(), stdout);
        return 0;
    case CommandLine::Outcome::ExitUsageError:
        fprintf(stderr, "%s\n%s", options.error.c_str(), CommandLine::usage(argv[0]).c_str());
        return 2;
    case CommandLine::Outcome::ShowVersion:
        printf("kelvo %s\n", KELVO_VERSION);
        return 0;
    case CommandLine::Outcome::Run:
        break;
    }
    return keepRunning;
}

// The code --challenge names; one line on standard error says what is
// wrong with a mistyped one.
bool readChallengeCode(const std::string& text, MazeCode& code) {
    std::string problem;
    if (MazeCode::read(text, code, problem) == MazeCode::Part::None) {
        return true;
    }
    fprintf(stderr, "kelvo: --challenge %s: %s\n", text.c_str(), problem.c_str());
    return false;
}

// A challenge or the daily maze replaces the chosen game with its code's.
void chooseChallenge(const CommandLine& options, const std::string& today, const MazeCode& challenge) {
    if (options.daily) {
        prepareDailyChallenge(today);
    } else if (!options.challenge.empty()) {
        prepareChallenge(challenge);
    }
}

bool loadReplay(const std::string& file, Replay& recorded) {
    std::string error;
    if (!Replay::load(file, KELVO_VERSION, recorded, error)) {
        fprintf(stderr, "kelvo: %s\n", error.c_str());
        return false;
    }
    return true;
}

// The seed, maze, swarm and health of this run: a replay's recorded ones,
// else the settings file's; --seed, --maze and --enemies replace them.
void chooseGame(const CommandLine& options, const Replay* recorded) {
    const int64_t seedCounter = PerformanceCounter::now();
    runSeed = options.seedGiven ? options.seed : static_cast<unsigned>(seedCounter & 0xffffffffu);
    if (recorded != nullptr) {
        runSeed = recorded->seed;
        curLevelSize = recorded->mazeSize;
        curEnemyCount = recorded->enemyCount;
        curPlayerHealth = recorded->health;
    }
    LevelSeeds::start(runSeed);
    lastFrameCounter = PerformanceCounter::now();
    if (recorded == nullptr) {
        curLevelSize = settings.mazeSize;
        curEnemyCount = settings.enemyCount;
        curPlayerHealth = settings.startingHealth;
    }
    if (options.mazeSize > 0) {
        curLevelSize = options.mazeSize;
    }
    if (options.enemyCount > 0) {
        curEnemyCount = options.enemyCount;
    }
}

// How this run plays: its pace, the autopilot, the measurements and checks.
void configureRun(const CommandLine& options, bool replaying) {
    frameLimit = options.frames;
    oneTickPerFrame = options.fixedStep;
    windowForced = options.window;
    // The autopilot steers in pixels meant for the default mouse, and a
    // replay's motion was recorded as pixels too.
    defaultMouse = options.autopilot || replaying;
    static Autopilot autopilot;
    static FrameStats frameStats;
    if (options.autopilot) {
        pilot = &autopilot;
        autopilot.levelLimit = options.levels;
        autopilot.steersByKeys = options.autopilotKeys;
    }
    if (options.benchmark) {
        stats = &frameStats;
    }
    unpaced = options.benchmark || replaying;
    vsyncOff = options.benchmark || (replaying && options.fast);
    checkWalls = options.checkWalls;
    renderer.culling = !options.noCulling;
    traceBall = options.traceBall;
    for (const CommandLine::KeyPress& press : options.presses) {
        scriptedKeys.push_back({press.frame, press.key});
    }
}

// The configured window size, or the recorded one for a replay.
DisplayMode windowMode(const Replay* recorded) {
    DisplayMode mode = DisplayMode::fromCode(configLoader.getValueFor("resolution"));
    if (recorded != nullptr) {
        mode.width = recorded->width;
        mode.height = recorded->height;
        mode.gameModeString =
            std::to_string(recorded->width) + "x" + std::to_string(recorded->height) + ":32@60";
    }
    return mode;
}

// Whether the per-pixel lighting program is used. The settings file can ask
// for it (as --shaders does) or switch it off (as --no-shaders does for one
// run); the options screen can then still switch it on.
void chooseLighting(const CommandLine& options, GLenum glewStatus) {
    if (glewStatus != GLEW_OK) {
        fprintf(stderr, "Error: %s\n", reinterpret_cast<const char*>(glewGetErrorString(glewStatus)));
        return;
    }
    const char* rendererName = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    const bool forced = options.forceShaders || settings.lighting == Settings::Lighting::On;
    shaderCapable = ShaderPolicy::useShaders(GLEW_VERSION_2_0, rendererName, forced);
    shaderSupported = shaderCapable && !options.noShaders &&
                      (options.forceShaders || settings.lighting != Settings::Lighting::Off);
    if (GLEW_VERSION_2_0 && !shaderCapable) {
        printf("software renderer (%s): per-pixel lighting off, --shaders turns it on\n", rendererName);
    }
}

// The options screen offers lighting only where it was available, so a
// replay's recorded keys need the recorded choice; false when this driver
// cannot give it.
bool useRecordedLighting(const Replay& recorded, GLenum glewStatus, const std::string& file) {
    if (recorded.lighting && !(glewStatus == GLEW_OK && GLEW_VERSION_2_0)) {
        fprintf(stderr, "kelvo: %s was recorded with per-pixel lighting, which needs OpenGL 2.0\n", file.c_str());
        return false;
    }
    shaderSupported = recorded.lighting;
    shaderCapable = recorded.lighting;
    return true;
}

void replayDisplay() { actOnReplay(playback->playNextFrame()); }
void replayKey(unsigned char key, int, int) { actOnReplay(playback->key(key)); }

// The window's callbacks for this run.
void registerCallbacks(bool replaying) {
    glutIdleFunc(idle);
    glutCloseFunc(onWindowClosed);
    if (replaying) {
        // The person watching steers nothing: only Space and Esc reach the
        // player, and the window's size stays the recorded one for the
        // handlers. Recorded focus losses are replayed; the watcher's own
        // would diverge.
        glutDisplayFunc(replayDisplay);
        glutKeyboardFunc(replayKey);
        glutReshapeFunc(reshapeView);
        return;
    }
    glutDisplayFunc(display);
    glutReshapeFunc(reshape);
    if (pilot != nullptr) {
        // The autopilot alone steers. Its synthetic motion must not move
        // the real pointer, whose motion events (a warp's echo among them)
        // would reach the handlers whenever the X server delivers them and
        // make two runs of one seed differ.
        setPointerWarping(false);
    } else {
        glutPassiveMotionFunc(motionFunc);
        glutMouseFunc(mouseButtonFunc);
        // Only a person needs the pause on focus loss; for the autopilot
        // those window events would land on unpredictable frames too.
        glutWindowStatusFunc(windowStatusFunc);
        glutEntryFunc(entryFunc);
    }
    glutKeyboardFunc(keyboardEvent);
    glutSpecialFunc(specialEvent);
    // Held keys roll the ball: only their going down and up counts.
    glutIgnoreKeyRepeat(1);
    glutKeyboardUpFunc(keyboardUpEvent);
    glutSpecialUpFunc(specialUpEvent);
    usePlayKeys(settings.bindings);
}

// Opens the window, chooses the lighting, registers the window's callbacks
// and sets the frame pace. False when a replay needs lighting this driver
// cannot give.
bool prepareWindow(const CommandLine& options, const Replay* recorded) {
    glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH);
    openWindow(windowMode(recorded), !options.window && settings.fullscreen);
    const GLenum glewStatus = glewInit();
    chooseLighting(options, glewStatus);
    if (recorded != nullptr && !useRecordedLighting(*recorded, glewStatus, options.replayFile)) {
        return false;
    }
    registerCallbacks(recorded != nullptr);
    printf("%s\n", reinterpret_cast<const char*>(glGetString(GL_VERSION)));
    if (glewStatus == GLEW_OK) {
        applyPacing();
    }
    if (!vsyncOff && settings.vsync && vsync == SwapControl::Vsync::NotOffered) {
        printf("vsync not offered by the driver: frames paced by max_fps only\n");
    }
    return true;
}

// A replay moves the ball with the mouse it was recorded with, the autopilot
// with the default mouse, a person with the settings file's.
void chooseMouse(const Replay* recorded) {
    if (recorded != nullptr) {
        mouseSensitivity = recorded->mouseSensitivity;
        invertMouseY = recorded->invertMouseY;
    } else if (!defaultMouse) {
        mouseSensitivity = settings.mouseSensitivity;
        invertMouseY = settings.invertMouseY;
    }
}

void startPlayback(const Replay& recorded, bool fast) {
    static ReplayPlayer replayPlayer(recorded, fast);
    playback = &replayPlayer;
    replayPlayer.start();
}

// Everything a replay needs to play this run again.
void startRecording() {
    Replay header;
    header.gameVersion = KELVO_VERSION;
    header.seed = runSeed;
    header.mazeSize = curLevelSize;
    header.enemyCount = curEnemyCount;
    header.health = curPlayerHealth;
    header.lighting = shaderSupported;
    header.mouseSensitivity = mouseSensitivity;
    header.invertMouseY = invertMouseY;
    header.width = width;
    header.height = height;
    static ReplayRecorder run(header);
    recorder = &run;
}

// Game controllers for a person's game; neither a replay nor the autopilot
// listens to them.
void startGamepad() {
#ifdef KELVO_GAMEPAD
    static Gamepad pads;
    std::string error;
    if (pads.start(UserFolders::configFolder(), error)) {
        gamepad = &pads;
    } else {
        printf("game controllers unavailable: %s\n", error.c_str());
    }
#endif
}

// The hooks of this run, added in the order they run (see FrameHooks.h).
// Each tick: the recorded input first; after the tick the state hash, which
// everything after it reads, then the recording, the replay's check, the
// wall check, the autopilot and the game controllers. Each frame: the statistics, then the ball
// trace.
void installHooks() {
    if (playback != nullptr) {
        frameHooks.beforeTick = [] { playback->deliverTickInput(); };
    }
    frameHooks.afterTick.push_back(foldState);
    if (recorder != nullptr) {
        frameHooks.afterTick.push_back(recordTick);
        frameHooks.input.push_back([](const InputEvent& event) { recorder->input(event); });
    }
    if (playback != nullptr) {
        frameHooks.afterTick.push_back(checkReplayTick);
    }
    if (checkWalls) {
        frameHooks.afterTick.push_back(RunChecks::ballOutsideWalls);
    }
    if (pilot != nullptr) {
        frameHooks.afterTick.push_back(steerAutopilot);
    }
#ifdef KELVO_GAMEPAD
    if (gamepad != nullptr) {
        frameHooks.afterTick.push_back([] { gamepad->poll(); });
    }
#endif
    if (stats != nullptr) {
        frameHooks.afterFrame.push_back(recordFrame);
    }
    if (traceBall) {
        frameHooks.afterFrame.push_back([](const FrameTimes&) { ballTrace.traceBallTile(); });
    }
    frameHooks.stillScreen = worldStill;
    beforeProcessEnd = beforeEnd;
    settingsSaved = applySettings;
    renderer.beforeSwap = [] { takeRequestedScreenshot(width, height); };
}
}  // namespace

int main(int argc, char** argv) {
    CommandLine options;
    const int early = parseOptions(argc, argv, options);
    if (early != keepRunning) {
        return early;
    }
    const std::string today = options.today.empty() ? DailyMaze::text(DailyMaze::utcToday()) : options.today;
    if (options.showRecords) {
        return printRecords(today);
    }
    MazeCode challenge;
    const bool challenging = !options.challenge.empty() || options.daily;
    if (!options.challenge.empty() && !readChallengeCode(options.challenge, challenge)) {
        return 2;
    }
    if (options.quiet && !Console::quietDiagnostics()) {
        fprintf(stderr, "kelvo: --quiet: standard output cannot be silenced\n");
    }
    // Read before the data folder becomes the working directory: the path
    // is the player's.
    Replay recorded;
    const bool replaying = !options.replayFile.empty();
    if (replaying && !loadReplay(options.replayFile, recorded)) {
        return 1;
    }
    if (!enterDataFolder(options)) {
        return 1;
    }
    // A replay plays the recorded game: it leaves settings and best times alone.
    loadPlayerFiles(!replaying);
    const Replay* replay = replaying ? &recorded : nullptr;
    chooseGame(options, replay);
    chooseChallenge(options, today, challenge);
    configureRun(options, replaying);

    glutInit(&argc, argv);
    if (!prepareWindow(options, replay)) {
        return 1;
    }
    chooseMouse(replay);
    if (replaying) {
        startPlayback(recorded, options.fast);
    } else if (!options.noRecord && !challenging) {
        startRecording();
    }
    if (!replaying && pilot == nullptr) {
        startGamepad();
    }
    installHooks();
    init();
    if (challenging) {
        startChallenge(ParTime::measure);
    }
    glutMainLoop();
    return 0;
}
