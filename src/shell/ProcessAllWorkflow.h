#pragma once

#include "shell/FrameParts.h"

#include <string>
#include <vector>

class PictureWorkflow;

// "Process &All in Directory ...": the photos of the batch after the open one are dated with the
// template read from its file (or saved last) and written to their output names, the way
// imprix-batch does it, while a progress dialog shows how far it got and can stop it. One photo that
// fails does not stop the others; a summary tells the outcome.
class ProcessAllWorkflow {
public:
    struct Outcome {
        int written = 0;
        int failed = 0;
        int notStarted = 0;
        std::vector<std::string> problems; // "photo: why", one per failed photo
    };

    ProcessAllWorkflow(const FrameParts& parts, PictureWorkflow& pictures) : f_(parts), pictures_(pictures) {}

    // How many photos are dated at once.
    void setJobs(int jobs) { jobs_ = jobs; }

    // Runs the command. Returns what became of the photos (nothing when it did not start).
    Outcome Run();

private:
    // Makes the output folder when the user agrees. False: it is not there.
    bool ensureFolder(const std::string& folder) const;
    // `savedBefore`: the open photo was saved before the others were started.
    void summarise(const Outcome& outcome, const std::string& folder, int total, int savedBefore) const;

    FrameParts f_;
    PictureWorkflow& pictures_;
    int jobs_ = 0; // 0: by the machine's cores
};
