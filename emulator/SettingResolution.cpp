#include "emulator/SettingResolution.h"

#include "emulator/ConfigDocument.h"

namespace emulator {

namespace {

// What the window passes for the setting, when it passes anything.
std::optional<QByteArray> fromWindow(WindowOption option, const WindowOptions& window) {
    switch (option) {
    case WindowOption::ShowFps:
        return window.showFps ? std::optional<QByteArray>("1") : std::nullopt;
    case WindowOption::FullScreen:
        return window.fullScreen ? std::optional<QByteArray>("1") : std::nullopt;
    case WindowOption::NoThrottle:
        return window.noThrottle ? std::optional<QByteArray>("0") : std::nullopt;
    case WindowOption::PpcFrequency:
        return window.ppcFrequency ? std::optional<QByteArray>(window.ppcMHz.toUtf8())
                                   : std::nullopt;
    case WindowOption::Width:
        return window.width.toUtf8();
    case WindowOption::Height:
        return window.height.toUtf8();
    case WindowOption::None:
        break;
    }
    return std::nullopt;
}

} // namespace

ResolvedSetting resolveSetting(const EmulatorSetting& setting, const ConfigDocument& document,
                               const QByteArray& set, const WindowOptions& window) {
    if (auto passed = fromWindow(setting.window, window))
        return {*passed, SettingSource::Window};
    const QByteArray name(setting.name.data(), qsizetype(setting.name.size()));
    if (!set.isEmpty() && !setting.globalOnly) {
        if (auto own = document.value(set, name))
            return {*own, SettingSource::ThisGame};
    }
    if (auto global = document.value(ConfigDocument::kGlobal, name))
        return {*global, SettingSource::AllGames};
    return {QByteArray(setting.builtIn.data(), qsizetype(setting.builtIn.size())),
            SettingSource::BuiltIn};
}

} // namespace emulator
