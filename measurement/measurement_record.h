// The one record of the measurement: what the status panel, the summary, the graph and the
// journal show. The evaluation keeps it and publishes it at the start, after every capture, at
// a click and at the end; no view keeps a figure of its own or reads one back from a window.
#pragma once

#include "measurement/exp_gain.h"
#include "measurement/exp_series.h"
#include "services/local_time.h"

#include <optional>

namespace qv {

enum class MeasurementPhase {
    Idle,           // no measurement runs
    WaitingForGame, // a measurement runs and has no reading yet
    Measuring,      // a measurement runs and has taken its first reading
};

// A figure and the local time it belongs to.
struct TimedExp {
    LocalTime time;
    double exp = 0;
};

struct MeasurementRecord {
    MeasurementPhase phase = MeasurementPhase::Idle;
    // The player paused the running measurement: no capture runs and the time does not count
    // for the rates.
    bool paused = false;
    // The first reading of the current (or last) measurement.
    std::optional<TimedExp> start;
    // The "最終：" row: the first reading, then the latest figure at each fall, click and end.
    std::optional<TimedExp> latest;
    // The last figure read; a capture that read nothing leaves it, a stop keeps it.
    std::optional<TimedExp> lastReading;
    double increase = 0;
    std::optional<double> expPerHour;
    std::optional<double> recentPerHour; // "直近10分"
    // The percent beside the last figure read, and the EXP left to the next level once known.
    std::optional<double> percent;
    std::optional<double> remainingExp;
    // The readings the graph draws.
    ExpSeries series;
    // The capture (or the end's held rise) that made this record; nothing for the other events.
    std::optional<EvaluatedReading> capture;

    bool Running() const { return phase != MeasurementPhase::Idle; }
};

// What made the evaluation publish the record.
enum class RecordEvent {
    Started,   // a measurement began; it waits for its first reading
    Captured,  // a capture was evaluated (`capture` holds it)
    FallShown, // a fall's sequence ended: the latest values moved
    Clicked,   // the player asked for the latest values
    Paused,    // the player paused the measurement (`capture` holds the pause's row once read)
    Resumed,   // the player resumed it
    Ended,     // the measurement ended: a held rise counted, the latest values moved
    Stopped,   // nothing runs any more
};

// Who renders the record: the panel, the journal, the graph, the menus.
class RecordListener {
  public:
    virtual ~RecordListener() = default;
    virtual void OnRecord(const MeasurementRecord& record, RecordEvent event) = 0;
};

} // namespace qv
