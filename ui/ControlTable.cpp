#include "ui/ControlTable.h"

namespace ui {

namespace {

using K = ControlKind;

// clang-format off
constexpr ControlSpec kControls[] = {
    // name        kind              container   left   top  width height  shows                 tooltip                                   hidden disabled
    {"Picture3",  K::Panel,         "",         {  90,   60, 5445, 8580}, "",                   "",                                       true,  false},
    {"Text6",     K::CaptureBox,    "Picture3", {4440, 7500,  930,  180}, "",                   "",                                       true,  false},
    {"Command7",  K::Button,        "Picture3", {4005, 8130, 1279,  345}, "Supermodel",         "",                                       false, false},
    {"Command6",  K::Button,        "Picture3", {2730, 8130, 1279,  345}, "Save",               "",                                       false, false},
    {"Command5",  K::Button,        "Picture3", {1455, 8130, 1279,  345}, "All over again",     "",                                       false, false},
    {"Command4",  K::Button,        "Picture3", { 180, 8130, 1279,  345}, "Restore",            "",                                       false, false},
    {"Image5",    K::ClickImage,    "Picture3", {5040,   45,  315,  300}, "",                   "",                                       false, false},
    {"Label3",    K::Label,         "Picture3", { 165, 7845, 5115,  225}, "",                   "",                                       false, false},
    {"Command2",  K::Button,        "",         {8295, 9000,  945,  285}, "New Scan",           "",                                       false, false},
    {"Command9",  K::Button,        "",         {7455, 9345, 1800,  330}, "Emulator settings",  "Every setting of the emulator, for all games or for the selected game", false, false},
    {"Text5",     K::TextBox,       "",         {1485, 9000, 6810,  285}, "",                   "",                                       false, false},
    {"Text4",     K::TextBox,       "",         {1485, 8700, 7770,  285}, "",                   "",                                       false, false},
    {"Picture2",  K::Panel,         "",         {5595, 3570, 1875,  615}, "",                   "",                                       false, false},
    {"Command1",  K::PictureButton, "Picture2", {  75,   45, 1680,  495}, "",                   "Test extensive OpenGL information",      false, true },
    {"Picture1",  K::Panel,         "",         {7530, 3225, 1725, 1035}, "",                   "",                                       false, false},
    {"Text7",     K::TextBox,       "Picture1", { 930,  780,  705,  180}, "25",                 "",                                       false, false},
    {"Check4",    K::CheckBox,      "Picture1", {  60,  780,  900,  195}, "in MHz",             "Set PowerPC frequency in MHz",           false, false},
    {"Command3",  K::PictureButton, "Picture1", {1350,   45,  300,  555}, "",                   "Button set",                             false, false},
    {"Check2",    K::CheckBox,      "Picture1", {  60,  300, 1230,  195}, "Full Screen ..",     "Full screen mode",                       false, false},
    {"Check1",    K::CheckBox,      "Picture1", {  60,   60, 1215,  195}, "Show Fps ....",      "Display frame rate in window title bar", false, false},
    {"Check3",    K::CheckBox,      "Picture1", {  60,  525, 1500,  180}, "Disable 60 Hz ...",  "Disable 60 Hz frame rate limit",         false, false},
    {"Text3",     K::TextBox,       "",         {8415, 2955,  840,  285}, "",                   "",                                       false, false},
    {"Text1",     K::TextBox,       "",         {7530, 2955,  910,  285}, "",                   "",                                       false, false},
    {"Text2",     K::HelpBox,       "",         {  90,   60, 5445, 8580}, "",                   "",                                       false, false},
    {"List2",     K::ListBox,       "",         {5550, 4245, 3700, 4110}, "",                   "",                                       false, false},
    {"Image4",    K::Image,         "",         {6840, 2970,  645,  555}, "",                   "",                                       false, false},
    {"Image3",    K::Image,         "",         {6210, 2970,  645,  555}, "",                   "",                                       false, false},
    {"Image2",    K::Image,         "",         {5580, 2970,  645,  555}, "",                   "",                                       false, false},
    {"Label2(2)", K::Label,         "",         {6540, 8340, 1005,  315}, "",                   "",                                       false, false},
    {"Label4",    K::Label,         "",         {  90, 9045, 1410,  240}, "Rom Path :",         "",                                       false, false},
    {"Label5",    K::Label,         "",         {  90, 8745, 1410,  240}, "Emu Path :",         "",                                       false, false},
    {"Image1",    K::Image,         "",         {5565,   75, 3660, 2850}, "",                   "",                                       false, false},
    {"Label2(1)", K::Label,         "",         {7530, 8340, 1725,  315}, "",                   "",                                       false, false},
    {"Label2(0)", K::Label,         "",         {5550, 8340, 1005,  315}, "",                   "",                                       false, false},
};
// clang-format on

constexpr std::string_view kTabOrder[] = {
    "List2",    "Text2",    "Text1",    "Text3",    "Check1",   "Check2",   "Check3",
    "Command1", "Text4",    "Text5",    "Command2", "Command3", "Command9", "Command4",
    "Command5", "Command6", "Command7", "Text6",    "Check4",   "Text7",
};

} // namespace

std::span<const ControlSpec> controlTable() {
    return kControls;
}

std::span<const std::string_view> tabOrder() {
    return kTabOrder;
}

} // namespace ui
