#pragma once

#include "mainwindow/commandline.h"
#include "mainwindow/platform.h"

// What a press of "Run SSE" or "Extract Header" does, decided before
// anything is done: the button, its tool tip and the tests read the same.
struct Launch {
    enum Kind {
        // Nothing to start: no system chosen.
        Nothing,
        // The emulator's first start, which prepares it.
        FirstRun,
        // KIVO is not in the SSE folder: it says so and ends.
        Refuse,
        // Something the line needs is missing: a box says what.
        Missing,
        Start,
    };
    Kind kind = Nothing;
    // For FirstRun and Start.
    kivo::CommandLine line;
    // For Missing.
    QString message;
    kivo::BoxIcon icon = kivo::BoxIcon::None;
    QString title;
    // A program file not found means KIVO is not in the SSE folder; false
    // for a tool that KIVO merely reports missing.
    bool missingProgramMeansOutside = true;
    // The emulator's first start and the header extractor show minimised:
    // they need no looking at, and KIVO's own box about them stays in front.
    kivo::WindowState window = kivo::WindowState::Normal;

    static Launch firstRun(const kivo::CommandLine &line)
    {
        Launch launch = with(FirstRun, line);
        launch.window = kivo::WindowState::Minimised;
        return launch;
    }
    static Launch refuse() { return with(Refuse, {}); }
    static Launch missing(const QString &message, kivo::BoxIcon icon, const QString &title)
    {
        Launch launch = with(Missing, {});
        launch.message = message;
        launch.icon = icon;
        launch.title = title;
        return launch;
    }
    static Launch start(const kivo::CommandLine &line) { return with(Start, line); }

private:
    static Launch with(Kind kind, const kivo::CommandLine &line)
    {
        Launch launch;
        launch.kind = kind;
        launch.line = line;
        return launch;
    }
};
