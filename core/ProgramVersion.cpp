#include "core/ProgramVersion.h"

ProgramVersion CurrentVersion() {
    return {PARLONE_VERSION_MAJOR, PARLONE_VERSION_MINOR, PARLONE_VERSION_REVISION};
}
