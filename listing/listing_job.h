#pragma once

// Writes the four listings of the program's folder beside the program, waits for them, and tells
// the user whether all four were written. Returns when the user has dismissed the message.
void ListingJob();
