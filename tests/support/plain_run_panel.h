#pragma once

#include "run/run_panel.h"

// The main window's run elements as plain fields, for tests and benchmarks.
struct PlainRunPanel final : RunPanel
{
    QString input, state, output, status;
    double minimum = 0, maximum = 100, value = 0;
    int interval = 0;
    bool timerOn = false, playOn = true, pauseOn = false, going = false;
    SpeedChoice speed{false, 1, {}};

    QString inputText() const override { return input; }
    void setInputText(const QString &t) override { input = t; }
    void setStateText(const QString &t) override { state = t; }
    void setOutputText(const QString &t) override { output = t; }
    void setStatusText(const QString &t) override { status = t; }
    double progressMinimum() const override { return minimum; }
    double progressMaximum() const override { return maximum; }
    double progressValue() const override { return value; }
    void setProgressMaximum(double m) override { maximum = m; }
    void setProgressValue(double v) override { value = v; }
    int timerInterval() const override { return interval; }
    void setTimerInterval(int ms) override { interval = ms; }
    bool timerEnabled() const override { return timerOn; }
    void setTimerEnabled(bool on) override { timerOn = on; }
    void setPlayEnabled(bool on) override { playOn = on; }
    void setPauseEnabled(bool on) override { pauseOn = on; }
    void setRunGoing(bool on) override { going = on; }
    SpeedChoice speedChoice() const override { return speed; }

    void preset(int index) { speed = {false, index, {}}; }
    // Output, status, input and state in one line: "ACCEPTED|Successfully completed||q1".
    QString outcome() const { return output + u'|' + status + u'|' + input + u'|' + state; }
    // Timer, Pause and Play flags and the bar: "timer pause play 2/5".
    QString controls() const
    {
        return QStringLiteral("%1 %2 %3 %4/%5")
            .arg(timerOn ? "timer" : "-", pauseOn ? "pause" : "-", playOn ? "play" : "-")
            .arg(value)
            .arg(maximum);
    }
};
