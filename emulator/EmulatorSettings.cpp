#include "emulator/EmulatorSettings.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace emulator {

namespace {

using G = SettingGroup;
using K = SettingKind;

constexpr SettingChoice kCrtColors[] = {
    {"0", "none"},          {"1", "ARI/D93"},       {"2", "PVM_20M2U/D93"},
    {"3", "BT601_525/D93"}, {"4", "BT601_525/D65"}, {"5", "BT601_625/D65"},
};
constexpr SettingChoice kUpscaleModes[] = {
    {"0", "sharp"}, {"1", "bi-quintic"}, {"2", "bilinear"}, {"3", "bicubic"}};
constexpr SettingChoice kCrosshairs[] = {
    {"0", "none"}, {"1", "P1"}, {"2", "P2"}, {"3", "P1 and P2"}};
constexpr SettingChoice kCrosshairStyles[] = {{"vector", "drawn"}, {"bmp", "pictures"}};
constexpr SettingChoice kChannels[] = {{"1", "mono"}, {"2", "stereo"}, {"4", "quadraphonic"}};
// Short: the choice's line is narrow; the help says more.
constexpr SettingChoice kInputSystems[] = {{"sdl", "joysticks"}, {"sdlgamepad", "pads"}};
constexpr SettingChoice kAutoTrigger[] = {{"0", "off"}, {"1", "on"}};
constexpr SettingChoice kOutputs[] = {{"none", "none"}, {"net", "network"}};

constexpr double kPortMax = 65535;

// The rows written out; the joysticks' dead zones and saturations follow,
// made from their pattern.
constexpr EmulatorSetting kListed[] = {
    {"New3DEngine", G::Video, K::OnOff, "1", "New 3D engine",
     "Draws with the current 3D engine; off, the legacy one.", "-new3d / -legacy3d"},
    {"QuadRendering", G::Video, K::OnOff, "0", "Quad rendering",
     "Draws quads as the board did, with the new 3D engine.", "-quad-rendering"},
    {"XResolution",
     G::Video,
     K::Integer,
     "496",
     "Width",
     "The window's width in pixels.",
     "-res=X,Y",
     1,
     16384,
     {},
     WindowOption::Width},
    {"YResolution",
     G::Video,
     K::Integer,
     "384",
     "Height",
     "The window's height in pixels.",
     "-res=X,Y",
     1,
     16384,
     {},
     WindowOption::Height},
    {"WindowXPosition",
     G::Video,
     K::Integer,
     "",
     "Window left",
     "Where the window's left edge goes, in pixels; empty centres it.",
     "-window-pos=X,Y",
     -65536,
     65536,
     {},
     WindowOption::None,
     false,
     true},
    {"WindowYPosition",
     G::Video,
     K::Integer,
     "",
     "Window top",
     "Where the window's top edge goes, in pixels; empty centres it.",
     "-window-pos=X,Y",
     -65536,
     65536,
     {},
     WindowOption::None,
     false,
     true},
    {"FullScreen",
     G::Video,
     K::OnOff,
     "0",
     "Full screen",
     "Plays on the whole screen.",
     "-fullscreen / -window",
     0,
     0,
     {},
     WindowOption::FullScreen},
    {"BorderlessWindow", G::Video, K::OnOff, "0", "Borderless window", "A window without a frame.",
     "-borderless"},
    {"Supersampling", G::Video, K::Integer, "1", "Supersampling",
     "Draws at this many times the size, then scales down.", "-ss=N", 1, 8},
    {"CRTcolors", G::Video, K::Choice, "0", "CRT colours",
     "Shifts the colours as the cabinet's monitor showed them.", "-crtcolors=N", 0, 0, kCrtColors},
    {"UpscaleMode", G::Video, K::Choice, "2", "Upscaling", "How the 2D layers are scaled up.",
     "-upscalemode=N", 0, 0, kUpscaleModes},
    {"WideScreen", G::Video, K::OnOff, "0", "Wide screen",
     "Shows more of the 3D scene at the sides; breaks some games.",
     "-wide-screen / -no-wide-screen"},
    {"WideBackground", G::Video, K::OnOff, "0", "Wide background",
     "Stretches the background layer too, with wide screen.", "-wide-bg / -no-wide-bg"},
    {"Stretch", G::Video, K::OnOff, "0", "Stretch", "Fills the window, ignoring the 496:384 shape.",
     "-stretch / -no-stretch"},
    {"VSync", G::Video, K::OnOff, "1", "Vertical sync",
     "Waits for the screen's refresh before each frame.", "-vsync / -no-vsync"},
    {"Throttle",
     G::Video,
     K::OnOff,
     "1",
     "Frame limiter",
     "Keeps the game at its own speed.",
     "-throttle / -no-throttle",
     0,
     0,
     {},
     WindowOption::NoThrottle},
    {"RefreshRate", G::Video, K::Decimal, "60", "Refresh rate",
     "Frames a second: 57.524 is the board's own.", "-true-hz", 1, 1000},
    {"ShowFrameRate",
     G::Video,
     K::OnOff,
     "0",
     "Show frame rate",
     "Shows the frames a second in the title bar.",
     "-show-fps / -no-fps",
     0,
     0,
     {},
     WindowOption::ShowFps},
    {"Crosshairs", G::Video, K::Choice, "0", "Crosshairs", "The gun games' crosshairs.",
     "-crosshairs=N", 0, 0, kCrosshairs},
    {"CrosshairStyle", G::Video, K::Choice, "vector", "Crosshair style",
     "How the crosshairs are drawn.", "-crosshair-style=S", 0, 0, kCrosshairStyles},
    {"NoWhiteFlash", G::Video, K::OnOff, "0", "No white flash",
     "Leaves out the white flash of a shot in the gun games.", "-no-white-flash / -white-flash"},

    {"EmulateSound", G::Sound, K::OnOff, "1", "Sound", "Plays the sound board.",
     "-sound / -no-sound"},
    {"EmulateDSB", G::Sound, K::OnOff, "1", "Music board", "Plays the music board.",
     "-dsb / -no-dsb"},
    {"SoundVolume", G::Sound, K::Integer, "100", "Sound volume", "In per cent.", "-sound-volume=N",
     0, 200},
    {"MusicVolume", G::Sound, K::Integer, "100", "Music volume", "In per cent.", "-music-volume=N",
     0, 200},
    {"Balance", G::Sound, K::Integer, "0", "Balance", "Between the two sound chips, -100 to 100.",
     "-balance=N", -100, 100},
    {"BalanceLeftRight",
     G::Sound,
     K::Integer,
     "0",
     "Balance left and right",
     "-100 is left, 100 right.",
     {},
     -100,
     100},
    {"BalanceFrontRear",
     G::Sound,
     K::Integer,
     "0",
     "Balance front and rear",
     "-100 is front, 100 rear.",
     {},
     -100,
     100},
    {"NbSoundChannels", G::Sound, K::Choice, "4", "Channels", "How many speakers it plays to.",
     "-channels=N", 0, 0, kChannels},
    {"SoundFreq", G::Sound, K::Decimal, "57.6", "Sound rate",
     "The sound board's rate in Hz: 57.524160 or 60.", "-soundfreq=F", 45, 75},
    {"LegacySoundDSP", G::Sound, K::OnOff, "0", "Legacy sound DSP",
     "The older sound DSP; advised for Fighting Vipers 2.", "-legacy-scsp / -new-scsp"},
    {"FlipStereo", G::Sound, K::OnOff, "0", "Swap left and right", "Swaps the stereo sides.",
     "-flip-stereo / -no-flip-stereo"},

    {"PowerPCFrequency",
     G::Core,
     K::Integer,
     "0",
     "PowerPC clock",
     "In MHz; 0 lets the board choose (66, 100 or 166).",
     "-ppc-frequency=MHz",
     0,
     1000,
     {},
     WindowOption::PpcFrequency},
    {"MultiThreaded", G::Core, K::OnOff, "1", "Threads", "Runs the boards on several threads.",
     "-threads / -no-threads"},
    {"GPUMultiThreaded", G::Core, K::OnOff, "1", "Graphics thread",
     "Runs the graphics on a thread of its own.", "-gpu-multi-threaded / -no-gpu-thread"},
    {"InitStateFile", G::Core, K::Text, "", "State at reset",
     "A save state loaded when the game resets.", "-load-state=F"},
    {"GameXMLFile",
     G::Core,
     K::Text,
     "Config/Games.xml",
     "Game definitions",
     "The file of the games it knows.",
     {},
     0,
     0,
     {},
     WindowOption::None,
     true},

    {"InputSystem", G::Inputs, K::Choice, "sdl", "Input system",
     "How joysticks and pads are read and numbered.", "-input-system=S", 0, 0, kInputSystems},
    {"InputDigitalSensitivity",
     G::Inputs,
     K::Integer,
     "25",
     "Key sensitivity",
     "How fast keys and buttons move an analog input.",
     {},
     1,
     100},
    {"InputDigitalDecaySpeed",
     G::Inputs,
     K::Integer,
     "50",
     "Key return speed",
     "How fast an analog input driven by keys comes back.",
     {},
     1,
     100},
    {"InputKeySensitivity",
     G::Inputs,
     K::Integer,
     "25",
     "Keyboard sensitivity",
     "In per cent.",
     {},
     1,
     100},
    {"InputKeyDecaySpeed",
     G::Inputs,
     K::Integer,
     "50",
     "Keyboard return speed",
     "In per cent.",
     {},
     1,
     100},
    {"InputMouseXDeadZone",
     G::Inputs,
     K::Integer,
     "0",
     "Mouse X dead zone",
     "In per cent.",
     {},
     0,
     99},
    {"InputMouseYDeadZone",
     G::Inputs,
     K::Integer,
     "0",
     "Mouse Y dead zone",
     "In per cent.",
     {},
     0,
     99},
    {"InputMouseZDeadZone",
     G::Inputs,
     K::Integer,
     "0",
     "Mouse wheel dead zone",
     "In per cent.",
     {},
     0,
     99},
    {"InputAutoTrigger",
     G::Inputs,
     K::Choice,
     "0",
     "P1 automatic reload",
     "Reloads the gun by itself; a number, 0 or 1.",
     {},
     0,
     0,
     kAutoTrigger},
    {"InputAutoTrigger2",
     G::Inputs,
     K::Choice,
     "0",
     "P2 automatic reload",
     "Reloads the gun by itself; a number, 0 or 1.",
     {},
     0,
     0,
     kAutoTrigger},

    {"ForceFeedback", G::ForceFeedback, K::OnOff, "0", "Force feedback",
     "Drives a wheel's or a stick's motors.", "-force-feedback / -no-force-feedback"},
    {"SDLConstForceMax",
     G::ForceFeedback,
     K::Integer,
     "100",
     "Constant force",
     "The strongest constant force, in per cent.",
     {},
     0,
     100},
    {"SDLSelfCenterMax",
     G::ForceFeedback,
     K::Integer,
     "100",
     "Self-centring",
     "The strongest self-centring, in per cent.",
     {},
     0,
     100},
    {"SDLFrictionMax",
     G::ForceFeedback,
     K::Integer,
     "100",
     "Friction",
     "The strongest friction, in per cent.",
     {},
     0,
     100},
    {"SDLVibrateMax",
     G::ForceFeedback,
     K::Integer,
     "100",
     "Vibration",
     "The strongest vibration, in per cent.",
     {},
     0,
     100},
    {"SDLConstForceThreshold",
     G::ForceFeedback,
     K::Integer,
     "30",
     "Force threshold",
     "Weaker constant forces are left out.",
     {},
     0,
     100},
    {"ForceFeedbackStrength",
     G::ForceFeedback,
     K::Integer,
     "5",
     "Strength",
     "From 1 to 8.",
     {},
     1,
     8},

    {"Network", G::Network, K::OnOff, "0", "Net board",
     "Links cabinets of the games that have one.", "-net / -no-net"},
    {"SimulateNet", G::Network, K::OnOff, "1", "Simulated net board",
     "Simulates the net board rather than emulate it.", "-simulate-netboard / -emulate-netboard"},
    {"PortIn",
     G::Network,
     K::Integer,
     "1970",
     "Port in",
     "The TCP port it listens on.",
     {},
     1,
     kPortMax},
    {"PortOut",
     G::Network,
     K::Integer,
     "1971",
     "Port out",
     "The TCP port of the next cabinet.",
     {},
     1,
     kPortMax},
    {"AddressOut", G::Network, K::Text, "127.0.0.1", "Address out",
     "The next cabinet's host name or address."},

    {"Outputs", G::Outputs, K::Choice, "none", "Outputs", "Where the lamps and motors are told.",
     "-outputs=S", 0, 0, kOutputs},
    {"OutputsWithLF", G::Outputs, K::OnOff, "0", "Outputs with line feeds",
     "Ends each output message with a line feed."},
    {"OutputsTCPPort",
     G::Outputs,
     K::Integer,
     "8000",
     "Outputs TCP port",
     "The TCP port the outputs are told on.",
     {},
     1024,
     kPortMax},
    {"OutputsUDPBroadcastPort",
     G::Outputs,
     K::Integer,
     "8001",
     "Outputs UDP port",
     "The UDP port the outputs are broadcast on.",
     {},
     1024,
     kPortMax},

    {"MultiTexture", G::Legacy, K::OnOff, "0", "Multi-texturing",
     "The legacy 3D engine's multi-texturing.", "-multi-texture / -no-multi-texture"},
    {"VertexShader", G::Legacy, K::Text, "", "Vertex shader",
     "A vertex shader file for the legacy 3D engine.", "-vert-shader=F"},
    {"FragmentShader", G::Legacy, K::Text, "", "Fragment shader",
     "A fragment shader file for the legacy 3D engine.", "-frag-shader=F"},
    {"DumpMemory", G::Legacy, K::OnOff, "0", "Dump memory",
     "Writes the boards' memory to files as the game ends.", "-dump-memory"},
    {"DumpTextures", G::Legacy, K::OnOff, "0", "Dump textures",
     "Writes the textures to files as the game ends.", "-dump-textures"},
};

constexpr std::string_view kAxes[] = {"X", "Y", "Z", "RX", "RY", "RZ"};

struct Table {
    std::vector<EmulatorSetting> rows;
    std::deque<std::string> texts; // the made rows' names and labels
};

const Table& table() {
    static const Table made = [] {
        Table t;
        t.rows.assign(std::begin(kListed), std::end(kListed));
        const auto keep = [&t](std::string text) -> std::string_view {
            return t.texts.emplace_back(std::move(text));
        };
        // "every joystick" first, then joysticks 1 to 4.
        for (int joystick = 0; joystick <= 4; ++joystick) {
            const std::string number = joystick ? std::to_string(joystick) : std::string();
            const std::string who = joystick ? "Joystick " + number : std::string("Every joystick");
            for (const std::string_view axis : kAxes) {
                const std::string stem = "InputJoy" + number + std::string(axis);
                t.rows.push_back({keep(stem + "DeadZone"),
                                  G::Inputs,
                                  K::Integer,
                                  "3",
                                  keep(who + ", " + std::string(axis) + " dead zone"),
                                  "In per cent: stick movement inside it counts as none.",
                                  {},
                                  0,
                                  99});
                t.rows.push_back({keep(stem + "Saturation"),
                                  G::Inputs,
                                  K::Integer,
                                  "100",
                                  keep(who + ", " + std::string(axis) + " saturation"),
                                  "In per cent: how far the stick must go to count as all the way.",
                                  {},
                                  1,
                                  200});
            }
        }
        return t;
    }();
    return made;
}

std::string_view trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c + 32) : c; };
               return lower(x) == lower(y);
           });
}

// A number as the emulator reads one: decimal, or hex after 0x; nothing
// when the text is not one.
std::optional<double> number(std::string_view text, bool integer) {
    text = trimmed(text);
    if (text.empty())
        return std::nullopt;
    const bool negative = text.front() == '-';
    std::string_view digits = negative || text.front() == '+' ? text.substr(1) : text;
    if (integer && digits.size() > 2 && digits[0] == '0' &&
        (digits[1] == 'x' || digits[1] == 'X')) {
        long long value = 0;
        const auto [end, error] =
            std::from_chars(digits.data() + 2, digits.data() + digits.size(), value, 16);
        if (error != std::errc() || end != digits.data() + digits.size())
            return std::nullopt;
        return negative ? -double(value) : double(value);
    }
    double value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error != std::errc() || end != digits.data() + digits.size() ||
        (integer && value != std::floor(value)))
        return std::nullopt;
    return negative ? -value : value;
}

std::optional<double> anyNumber(std::string_view text) {
    if (auto decimal = number(text, false))
        return decimal;
    return number(text, true);
}

} // namespace

std::span<const EmulatorSetting> emulatorSettings() {
    return table().rows;
}

const EmulatorSetting* emulatorSetting(std::string_view name) {
    for (const EmulatorSetting& setting : table().rows) {
        if (setting.name == name)
            return &setting;
    }
    return nullptr;
}

std::string_view groupName(SettingGroup group) {
    switch (group) {
    case G::Video:
        return "Video";
    case G::Sound:
        return "Sound";
    case G::Core:
        return "Core";
    case G::Inputs:
        return "Inputs";
    case G::ForceFeedback:
        return "Force feedback";
    case G::Network:
        return "Network";
    case G::Outputs:
        return "Outputs";
    case G::Legacy:
        return "Legacy engine and debugging";
    }
    return {};
}

bool readsOn(std::string_view value) {
    value = trimmed(value);
    for (const std::string_view on : {"true", "on", "yes"}) {
        if (equalsIgnoringCase(value, on))
            return true;
    }
    const auto n = number(value, true);
    return n && *n != 0;
}

ValueCheck checkValue(const EmulatorSetting& setting, std::string_view value) {
    value = trimmed(value);
    switch (setting.kind) {
    case K::OnOff:
        for (const std::string_view known : {"true", "on", "yes", "1", "false", "off", "no", "0"}) {
            if (equalsIgnoringCase(value, known))
                return ValueCheck::Valid;
        }
        return ValueCheck::NotListed;
    case K::Choice:
        return std::any_of(setting.choices.begin(), setting.choices.end(),
                           [value](const SettingChoice& choice) { return choice.value == value; })
                   ? ValueCheck::Valid
                   : ValueCheck::NotListed;
    case K::Integer:
    case K::Decimal: {
        if (value.empty() && setting.emptyAllowed)
            return ValueCheck::Valid;
        const auto n = number(value, setting.kind == K::Integer);
        if (!n)
            return ValueCheck::NotANumber;
        return *n < setting.minimum || *n > setting.maximum ? ValueCheck::OutOfRange
                                                            : ValueCheck::Valid;
    }
    case K::Text:
        return ValueCheck::Valid;
    }
    return ValueCheck::Valid;
}

bool sameMeaning(const EmulatorSetting& setting, std::string_view a, std::string_view b) {
    a = trimmed(a);
    b = trimmed(b);
    switch (setting.kind) {
    case K::OnOff:
        return readsOn(a) == readsOn(b);
    case K::Integer:
    case K::Decimal:
    case K::Choice: {
        const auto x = anyNumber(a);
        const auto y = anyNumber(b);
        if (x && y)
            return std::abs(*x - *y) < 1e-9;
        if (setting.kind != K::Choice && (a.empty() || b.empty()))
            return a.empty() && b.empty();
        return a == b;
    }
    case K::Text:
        return a == b;
    }
    return a == b;
}

} // namespace emulator
