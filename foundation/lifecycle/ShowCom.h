// COM for the show's thread. The music graph starts it the first time it is
// made, however often it is made again after a reset; it ends once at exit,
// after the sound device is gone, because the device's own parts live in the
// same apartment and ending COM under them hangs or crashes the program.
#pragma once

// Starts COM on the calling thread the first time, and remembers whether
// that start counted COM up (S_OK, or S_FALSE on a thread that had it
// already) and so must be ended. A thread in the other apartment
// (RPC_E_CHANGED_MODE) or a start that failed is left as it was. Later calls
// do nothing until EndShowCom.
void StartShowCom();

// Ends the start StartShowCom counted, on the thread that made it; does
// nothing when there is none or on another thread. The start-up schedules it
// at exit after the sound device's release.
void EndShowCom();
