// Entry point of graphmat-report.
#include "report/ReportCommandLine.h"

int main(int argc, char** argv) {
    return reportMain(argc, argv);
}
