#pragma once
// The program's own version numbers, as the project declares them.

struct ProgramVersion {
    int major = 0;
    int minor = 0;
    int revision = 0;
};

ProgramVersion CurrentVersion();
