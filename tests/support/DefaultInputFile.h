#pragma once

#include <QByteArray>

// The emulator input file written with the default bindings: 62 lines, the
// mouse buttons under the emulator's names, the twin-stick shots and turbos
// again under the current emulator's names.
inline const QByteArray kWrittenByLine = "; Written by Kestrun, a front-end for Supermodel\r\n";
inline const QByteArray kDefaultInputFile = ";\r\n"
                                            "; Supermodel Configuration File\r\n" +
                                            kWrittenByLine +
                                            ";\r\n"
                                            "\r\n"
                                            "[ Global ]\r\n"
                                            "\r\n"
                                            "InputStart1 = \"1\"\r\n"
                                            "InputStart2 = \"2\"\r\n"
                                            "InputCoin1 = \"3\"\r\n"
                                            "InputCoin2 = \"4\"\r\n"
                                            "InputServiceA = \"5\"\r\n"
                                            "InputServiceB = \"7\"\r\n"
                                            "InputTestA = \"6\"\r\n"
                                            "InputTestB = \"8\"\r\n"
                                            "InputJoyUp = \"Up\"\r\n"
                                            "InputJoyDown = \"Down\"\r\n"
                                            "InputJoyLeft = \"Left\"\r\n"
                                            "InputJoyRight = \"Right\"\r\n"
                                            "InputPunch = \"A\"\r\n"
                                            "InputKick = \"S\"\r\n"
                                            "InputGuard = \"D\"\r\n"
                                            "InputEscape = \"F\"\r\n"
                                            "InputSteeringLeft = \"Left\"\r\n"
                                            "InputSteeringRight = \"Right\"\r\n"
                                            "InputAccelerator = \"Up\"\r\n"
                                            "InputBrake = \"Down\"\r\n"
                                            "InputGearShift1 = \"Q\"\r\n"
                                            "InputGearShift2 = \"W\"\r\n"
                                            "InputGearShift3 = \"E\"\r\n"
                                            "InputGearShift4 = \"R\"\r\n"
                                            "InputVR1 = \"A\"\r\n"
                                            "InputVR2 = \"S\"\r\n"
                                            "InputVR3 = \"D\"\r\n"
                                            "InputVR4 = \"F\"\r\n"
                                            "InputViewChange = \"A\"\r\n"
                                            "InputHandBrake = \"S\"\r\n"
                                            "InputShortPass = \"A\"\r\n"
                                            "InputLongPass = \"S\"\r\n"
                                            "InputShoot = \"D\"\r\n"
                                            "InputTwinJoyTurnLeft = \"Q\"\r\n"
                                            "InputTwinJoyTurnRight = \"W\"\r\n"
                                            "InputTwinJoyForward = \"Up\"\r\n"
                                            "InputTwinJoyReverse = \"Down\"\r\n"
                                            "InputTwinJoyStrafeLeft = \"Left\"\r\n"
                                            "InputTwinJoyStrafeRight = \"Right\"\r\n"
                                            "InputTwinJoyJump = \"E\"\r\n"
                                            "InputTwinJoyCrouch = \"R\"\r\n"
                                            "InputTwinJoyLeftShot = \"A\"\r\n"
                                            "InputTwinJoyRightShot = \"S\"\r\n"
                                            "InputTwinJoyLeftTurbo = \"Z\"\r\n"
                                            "InputTwinJoyRightTurbo = \"X\"\r\n"
                                            "InputAnalogJoyTrigger = \"A\"\r\n"
                                            "InputAnalogJoyEvent = \"S\"\r\n"
                                            "InputTrigger = \"MOUSE_LEFT_BUTTON\"\r\n"
                                            "InputOffscreen = \"MOUSE_RIGHT_BUTTON\"\r\n"
                                            "InputTwinJoyShot1 = \"A\"\r\n"
                                            "InputTwinJoyShot2 = \"S\"\r\n"
                                            "InputTwinJoyTurbo1 = \"Z\"\r\n"
                                            "InputTwinJoyTurbo2 = \"X\"\r\n"
                                            "InputAnalogTriggerLeft = \"MOUSE_LEFT_BUTTON\"\r\n"
                                            "InputAnalogTriggerRight = \"MOUSE_RIGHT_BUTTON\"\r\n";

// The same as earlier versions wrote it, before the line naming the program.
inline QByteArray earlierInputFile() {
    return QByteArray(kDefaultInputFile).replace(kWrittenByLine, "");
}
