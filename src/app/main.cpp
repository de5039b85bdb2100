#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <GL/glew.h>
#include <GL/freeglut.h>

#include "app/Autopilot.h"
#include "app/CommandLine.h"
#include "app/DataLocator.h"
#include "app/DisplayMode.h"
#include "app/FloorFrames.h"
#include "app/FrameLoop.h"
#include "app/FramePacer.h"
#include "app/FrameStats.h"
#include "app/FullScreen.h"
#ifdef KELVO_GAMEPAD
#include "app/Gamepad.h"
#endif
#include "app/Globals.h"
#include "app/Input.h"
#include "app/LevelSeeds.h"
#include "app/Music.h"
#include "app/PlayInput.h"
#include "app/PlayerFiles.h"
#include "app/Rules.h"
#include "app/Screenshot.h"
#include "app/Settings.h"
#include "app/ShaderPolicy.h"
#include "app/ProcessEnd.h"
#include "app/Replay.h"
#include "app/ReplayPlayer.h"
#include "app/ReplayRecorder.h"
#include "app/SceneAssembly.h"
#include "app/StateHash.h"
#include "gui/SgGUI.h"
#include "labyrinth/SgLabyrinth.h"
#include "physics/SgParticleController.h"
#include "physics/SgPlayer.h"
#include "platform/Console.h"
#include "platform/PerformanceCounter.h"
#include "platform/Process.h"
#include "platform/SwapControl.h"
#include "platform/UserFolders.h"

namespace {
// Present only for the runs that ask for them.
Autopilot* pilot = nullptr;
FrameStats* stats = nullptr;
bool checkWalls = false;
bool traceBall = false;
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

void recordInput(const InputEvent& event) { recorder->input(event); }

// Aborts when the ball's centre ended the tick inside a wall box.
void checkBallOutsideWalls() {
    if (labyrinth != nullptr && Autopilot::insideWall(*labyrinth, player->position)) {
        fprintf(stderr, "kelvo: the ball's centre (%f, %f, %f) ended tick %ld inside a wall\n",
                player->position.x, player->position.y, player->position.z, ticksRun);
        fflush(stdout);
        abort();
    }
}

void onTickSimulated() {
    if (player == nullptr) {
        return;
    }
    stateHash.fold(*player, level, particleController);
    if (recorder != nullptr) {
        recorder->endTick(stateHash.value());
        gamePlayed = gamePlayed || (mainGUI != nullptr && mainGUI->isGameRunning());
    }
    if (playback != nullptr) {
        playback->checkTick(stateHash.value());
    }
    if (checkWalls) {
        checkBallOutsideWalls();
    }
    if (pilot != nullptr) {
        pilot->tick();
    }
#ifdef KELVO_GAMEPAD
    if (gamepad != nullptr) {
        gamepad->poll();
    }
#endif
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

// Prints the ball's tile whenever it changes during play, and when it leaves
// the floor; the first lines of every game give the start tile and the size
// the swarm may grow to.
void traceBallTile() {
    static bool wasPlaying = false;
    static int column = 0;
    static int row = 0;
    static bool wasOnFloor = false;
    const bool playing = mainGUI != nullptr && mainGUI->isGameRunning() && labyrinth != nullptr && player != nullptr;
    if (!playing) {
        wasPlaying = false;
        return;
    }
    const int c = labyrinth->getTileIdx(player->position.x);
    const int r = labyrinth->getTileIdx(player->position.z);
    if (!wasPlaying && particleController != nullptr) {
        printf("swarm: at most %i enemies\n", particleController->maxParticles);
    }
    if (!wasPlaying || c != column || r != row) {
        printf("ball tile: %i %i\n", c, r);
        fflush(stdout);
    }
    const bool onFloor = player->position.y > -0.6f && player->position.y < 0.6f;
    if (wasPlaying && wasOnFloor && !onFloor) {
        printf("ball leaves the floor\n");
        fflush(stdout);
    }
    wasPlaying = true;
    wasOnFloor = onFloor;
    column = c;
    row = r;
}

void observeFrame(double elapsedSeconds, int ticks, double simulationSeconds, double renderSeconds) {
    if (stats != nullptr) {
        stats->record(elapsedSeconds, ticks, simulationSeconds, renderSeconds);
    }
    if (traceBall) {
        traceBallTile();
    }
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
}  // namespace

int main(int argc, char** argv) {
    // Options are parsed from UTF-8 arguments, so --data names any folder.
    std::vector<std::string> arguments = Process::arguments(argc, argv);
    std::vector<char*> utf8Argv;
    for (std::string& argument : arguments) {
        utf8Argv.push_back(argument.data());
    }
    utf8Argv.push_back(nullptr);
    CommandLine options;
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
    if (options.showRecords) {
        return printRecords();
    }
    if (options.quiet && !Console::quietDiagnostics()) {
        fprintf(stderr, "kelvo: --quiet: standard output cannot be silenced\n");
    }
    // Read before the data folder becomes the working directory: the path
    // is the player's.
    Replay recorded;
    const bool replaying = !options.replayFile.empty();
    if (replaying) {
        std::string error;
        if (!Replay::load(options.replayFile, KELVO_VERSION, recorded, error)) {
            fprintf(stderr, "kelvo: %s\n", error.c_str());
            return 1;
        }
    }
    if (!enterDataFolder(options)) {
        return 1;
    }
    // A replay plays the recorded game: it leaves settings and best times alone.
    loadPlayerFiles(!replaying);

    const int64_t seedCounter = PerformanceCounter::now();
    runSeed = options.seedGiven ? options.seed : static_cast<unsigned>(seedCounter & 0xffffffffu);
    if (replaying) {
        runSeed = recorded.seed;
        curLevelSize = recorded.mazeSize;
        curEnemyCount = recorded.enemyCount;
        curPlayerHealth = recorded.health;
    }
    LevelSeeds::start(runSeed);
    lastFrameCounter = PerformanceCounter::now();
    frameLimit = options.frames;
    if (!replaying) {
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
    beforeProcessEnd = beforeEnd;
    checkWalls = options.checkWalls;
    renderer.culling = !options.noCulling;
    traceBall = options.traceBall;
    if (stats != nullptr || traceBall) {
        frameObserver = observeFrame;
    }
    for (const CommandLine::KeyPress& press : options.presses) {
        scriptedKeys.push_back({press.frame, press.key});
    }

    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH);

    DisplayMode mode = DisplayMode::fromCode(configLoader.getValueFor("resolution"));
    if (replaying) {
        mode.width = recorded.width;
        mode.height = recorded.height;
        mode.gameModeString = std::to_string(recorded.width) + "x" + std::to_string(recorded.height) + ":32@60";
    }
    width = mode.width;
    height = mode.height;
    openWindow(mode, !options.window && settings.fullscreen);

    const GLenum glewStatus = glewInit();
    if (glewStatus != GLEW_OK) {
        fprintf(stderr, "Error: %s\n", reinterpret_cast<const char*>(glewGetErrorString(glewStatus)));
    } else {
        const char* rendererName = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
        // The settings file can ask for the program (as --shaders does) or
        // switch it off (as --no-shaders does for one run); the options
        // screen can then still switch it on.
        const bool forced = options.forceShaders || settings.lighting == Settings::Lighting::On;
        shaderCapable = ShaderPolicy::useShaders(GLEW_VERSION_2_0, rendererName, forced);
        shaderSupported = shaderCapable && !options.noShaders &&
                          (options.forceShaders || settings.lighting != Settings::Lighting::Off);
        if (GLEW_VERSION_2_0 && !shaderCapable) {
            printf("software renderer (%s): per-pixel lighting off, --shaders turns it on\n", rendererName);
        }
    }
    if (replaying) {
        // The options screen offers lighting only where it was available,
        // so the recorded keys need the recorded choice.
        if (recorded.lighting && !(glewStatus == GLEW_OK && GLEW_VERSION_2_0)) {
            fprintf(stderr, "kelvo: %s was recorded with per-pixel lighting, which needs OpenGL 2.0\n",
                    options.replayFile.c_str());
            return 1;
        }
        shaderSupported = recorded.lighting;
        shaderCapable = recorded.lighting;
    }

    glutIdleFunc(idle);
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
    glutCloseFunc(onWindowClosed);

    printf("%s\n", reinterpret_cast<const char*>(glGetString(GL_VERSION)));
    if (glewStatus == GLEW_OK) {
        applyPacing();
    }
    if (!vsyncOff && settings.vsync && vsync == SwapControl::Vsync::NotOffered) {
        printf("vsync not offered by the driver: frames paced by max_fps only\n");
    }
    stillScreen = worldStill;

    tickSimulated = onTickSimulated;
    // A replay moves the ball with the mouse it was recorded with.
    if (replaying) {
        mouseSensitivity = recorded.mouseSensitivity;
        invertMouseY = recorded.invertMouseY;
    } else if (!defaultMouse) {
        mouseSensitivity = settings.mouseSensitivity;
        invertMouseY = settings.invertMouseY;
    }
    if (replaying) {
        static ReplayPlayer replayPlayer(recorded, options.fast);
        playback = &replayPlayer;
        replayPlayer.start();
    } else if (!options.noRecord) {
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
        inputListener = recordInput;
    }

#ifdef KELVO_GAMEPAD
    if (!replaying && pilot == nullptr) {
        static Gamepad pads;
        std::string error;
        if (pads.start(UserFolders::configFolder(), error)) {
            gamepad = &pads;
        } else {
            printf("game controllers unavailable: %s\n", error.c_str());
        }
    }
#endif
    init();
    settingsSaved = applySettings;
    renderer.beforeSwap = takeRequestedScreenshot;
    glutMainLoop();
    return 0;
}
