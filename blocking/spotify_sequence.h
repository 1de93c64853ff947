// What the program is in the middle of doing to Spotify (a mute, a restore,
// an advert's end), one stage at a time: each stage returns the pause before
// it runs again, or kNextStage. The window's thread never waits out a pause;
// the detection tick runs what has come due. A new title and a user's command
// wait until the sequence has ended.
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

// From inside a stage: these run next, before the rest of the sequence.
void ThenRun(ApplicationState& app, std::initializer_list<SequenceStage> stages);

// From inside a stage: nothing more of this sequence runs.
void EndSequence(ApplicationState& app);

bool SequenceRunning(const ApplicationState& app);

// Runs the stages that have come due, up to the first pause; once the
// sequence has ended, the commands that waited for it.
void ContinueSequence(ApplicationState& app, Platform& os);

// Milliseconds until the next stage comes due (0: now), or -1 with none: the
// tick's timer comes no later than that.
int MsUntilNextStage(const ApplicationState& app, Platform& os);

// Runs what is queued to its end, waiting out the pauses: for an end that
// cannot wait for ticks, and for callers off the window's thread.
void FinishSequence(ApplicationState& app, Platform& os);

// A user's command that drives Spotify: now, or once the sequence has ended.
void WhenSpotifyIsFree(ApplicationState& app, std::function<void()> command);

// At an end: what was under way and what waited are dropped.
void DropSequence(ApplicationState& app);
