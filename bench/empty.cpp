// Shows nothing and ends at once: what starting and ending any process costs on the host, the
// floor under every start-up time the bench reports.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return 0; }
