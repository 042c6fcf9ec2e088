// Ctrl+C, a terminal that closes, or a kill: SIGINT, SIGHUP and SIGTERM are noted rather than
// ending the program at once, so that a run can stop its encoder first (as Stop Encoding does)
// and the program can say so and exit with 128 + the signal's number.
#pragma once

namespace batch {

// From now on the three signals are caught. Each wakes the event loop; needs the application
// object.
void CatchInterruptions();

// The first of the signals that came, or 0.
int Interruption();

}  // namespace batch
