#pragma once

#include "host/text.h"

// The volume label of the current directory's drive; empty for an unlabelled drive, a network
// path, or a drive that cannot be asked.
Text CurrentDriveLabel();
