#pragma once

#include <QString>

// The elements of the main window that a run reads and writes, and nothing else.
// The main window implements this over its widgets; tests use a plain struct.
class RunPanel
{
public:
    // What the speed options say when Play is pressed.
    struct SpeedChoice
    {
        bool custom = false;   // the "Custom" option is selected
        int presetIndex = -1;  // selected entry of the preset list, -1 for none
        QString customText;    // the custom milliseconds box
    };

    virtual ~RunPanel() = default;

    // The input box is the tape: each step takes its first character.
    virtual QString inputText() const = 0;
    virtual void setInputText(const QString &text) = 0;
    virtual void setStateText(const QString &text) = 0;
    virtual void setOutputText(const QString &text) = 0;
    virtual void setStatusText(const QString &text) = 0;

    virtual double progressMinimum() const = 0;
    virtual double progressMaximum() const = 0;
    virtual double progressValue() const = 0;
    virtual void setProgressMaximum(double maximum) = 0;
    virtual void setProgressValue(double value) = 0;

    virtual int timerInterval() const = 0;
    virtual void setTimerInterval(int milliseconds) = 0;
    virtual bool timerEnabled() const = 0;
    virtual void setTimerEnabled(bool enabled) = 0;

    virtual void setPlayEnabled(bool enabled) = 0;
    virtual void setPauseEnabled(bool enabled) = 0;
    // A timed run is going, paused included, or no run is. Pause can stay
    // enabled after a run ended (Play at 0 ms during a timed run ends it and
    // leaves the timer and Pause as they were), so this is told apart.
    virtual void setRunGoing(bool going) = 0;

    virtual SpeedChoice speedChoice() const = 0;
};
