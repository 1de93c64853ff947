// What the program is in the middle of doing to Spotify (a mute, a restore,
// an advert's end, a star), one stage at a time: each stage returns the pause
// before it runs again, or kNextStage. The window's thread never waits out a
// pause; the detection tick and a timer of its own run what has come due. A
// new title and a user's command wait until the sequence has ended; the
// commands that waited then run one at a time, in order.
#pragma once
#include <functional>
#include <initializer_list>

#include "base/application_state.h"
#include "base/platform.h"

inline constexpr int kNextStage = -1;

// For a stage that acts and then waits: false at its first run (it acts and
// returns its pause), true at the next, once the pause is over.
bool PauseIsOver(ApplicationState& app);

// Appended after what is queued; runs from the next ContinueSequence.
void QueueStages(ApplicationState& app, std::initializer_list<SequenceStage> stages);

// From inside a stage: nothing more of what is queued runs.
void EndSequence(ApplicationState& app);

// From inside a stage, after it read Spotify: an end taken during the read
// (a message dispatched while a capture waited) has dropped the sequence.
bool EndTakenMeanwhile(const ApplicationState& app);

// Stages queued, or commands still waiting for them.
bool SequenceRunning(const ApplicationState& app);

// Runs the stages that have come due, up to the first pause; once none is
// left, the next command that waited. Nothing while leaving.
void ContinueSequence(ApplicationState& app, Platform& os);

// Milliseconds until the next stage or waiting command comes due (0: now),
// or -1 with none: the sequence's timer is set for that.
int MsUntilNextStage(const ApplicationState& app, Platform& os);

// Runs the stages queued to their end, waiting out the pauses: for an end
// that cannot wait for ticks (and tests).
void FinishSequence(ApplicationState& app, Platform& os);

// A user's command that drives Spotify: now, or once the sequence has ended.
void WhenSpotifyIsFree(ApplicationState& app, std::function<void()> command);

// At an end: what was under way is dropped. The commands that waited stay
// for an end that is called off.
void DropSequence(ApplicationState& app);
