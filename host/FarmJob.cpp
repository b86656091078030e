#include "host/FarmJob.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace corvane {

namespace {

namespace fs = std::filesystem;

std::string joined(const std::vector<std::string>& words) {
    std::string line;
    for (const std::string& word : words)
        line += (line.empty() ? "" : " ") + FarmJob::shellWord(word);
    return line;
}

// The render of the range that the shell variable `variable` names, to its own file.
std::string renderLine(const FarmJob::Plan& plan, const std::string& program,
                       const std::string& variable) {
    std::vector<std::string> words{program, "render"};
    words.insert(words.end(), plan.shared.begin(), plan.shared.end());
    std::string line = joined(words) + " --frame-range \"" + variable + "\" -o ";
    if (!plan.video)
        return line + FarmJob::shellWord(plan.output + "/");
    // The segment's name with the range in place of its frames.
    const std::string pattern = FarmJob::segmentFile(plan.output, FrameRange{});
    const std::string placeholder = FrameRange{}.label();
    const std::size_t at = pattern.rfind(placeholder);
    return line + FarmJob::shellWord(pattern.substr(0, at)) + "\"" + variable + "\"" +
           FarmJob::shellWord(pattern.substr(at + placeholder.size()));
}

std::vector<std::string> segmentFiles(const FarmJob::Plan& plan) {
    std::vector<std::string> files;
    for (const FrameRange& range : plan.ranges)
        files.push_back(FarmJob::segmentFile(plan.output, range));
    return files;
}

std::string joinLine(const FarmJob::Plan& plan, const std::string& program) {
    std::vector<std::string> words{program, "join", plan.output};
    const std::vector<std::string> files = segmentFiles(plan);
    words.insert(words.end(), files.begin(), files.end());
    return joined(words);
}

std::string labels(const FarmJob::Plan& plan) {
    std::string text;
    for (const FrameRange& range : plan.ranges)
        text += (text.empty() ? "" : " ") + range.label();
    return text;
}

// A name the engines take for a job: lower-case letters, digits and dashes, from the film's.
std::string jobName(const FarmJob::Plan& plan) {
    std::string name = "corvane-";
    for (char c : fs::path(plan.output).stem().string()) {
        const bool plain = std::isalnum(static_cast<unsigned char>(c)) != 0;
        if (plain || name.back() != '-')
            name += plain ? static_cast<char>(std::tolower(static_cast<unsigned char>(c))) : '-';
    }
    name = name.substr(0, 52);
    while (name.back() == '-')
        name.pop_back();
    return name;
}

std::string summary(const FarmJob::Plan& plan) {
    std::uint64_t frames = 0;
    for (const FrameRange& range : plan.ranges)
        frames += range.count();
    return fs::path(plan.output).filename().string() + (plan.video ? "" : "/") + " from " +
           fs::path(plan.scene).filename().string() + ":\n# frames " +
           std::to_string(plan.ranges.front().first) + " to " +
           std::to_string(plan.ranges.back().last) + " (" + std::to_string(frames) + ") in " +
           std::to_string(plan.ranges.size()) + " ranges";
}

const char* const RERUN = "Run it again after a failure: the ranges already written are not "
                          "rendered again.";
const char* const STATUSES =
    "Exit status of a range: 0 written, 1 or 2 bad input (a new try changes nothing),\n"
    "# 6 the output could not be written, 128 + N stopped by signal N (a new try may help).";

std::string parallelText(const FarmJob::Plan& plan) {
    std::string text = "#!/bin/sh\n# " + summary(plan) + ", rendered by GNU parallel" +
                       (plan.video ? ", then joined" : "") +
                       ".\n# It runs on this machine's cores; with -S host1,host2 added to the "
                       "parallel line, on those\n# hosts over ssh, which need the program and "
                       "the files at the same paths.\n# " +
                       RERUN + "\n# " + STATUSES + "\nset -e\n";
    text += "parallel -q --halt soon,fail=1 --line-buffer --tag " +
            renderLine(plan, plan.program, "{}") + " ::: " + labels(plan) + "\n";
    if (plan.video)
        text += joinLine(plan, plan.program) + "\n";
    return text;
}

std::string slurmText(const FarmJob::Plan& plan) {
    const std::string name = jobName(plan);
    std::string text =
        "#!/bin/bash\n#SBATCH --job-name=" + name + "\n#SBATCH --array=0-" +
        std::to_string(plan.ranges.size() - 1) + "\n#SBATCH --output=" + name + "-%A_%a.out\n# " +
        summary(plan) + " as a Slurm job array" +
        (plan.video ? ", then joined by a job that\n# runs once every range has "
                      "ended well"
                    : "") +
        ".\n#   bash FILE     submits " + (plan.video ? "the ranges and the join" : "the ranges") +
        "\n#   sbatch FILE   submits the ranges alone\n# " + RERUN + "\n# " + STATUSES +
        "\nset -euo pipefail\nranges=(" + labels(plan) +
        ")\nif [ -n \"${SLURM_ARRAY_TASK_ID:-}\" ]; then\n"
        "    range=${ranges[$SLURM_ARRAY_TASK_ID]}\n    exec " +
        renderLine(plan, plan.program, "$range") +
        "\nfi\n# JOB, or JOB;CLUSTER on a site of several clusters\narray=$(sbatch --parsable "
        "\"$0\")\narray=${array%%;*}\n";
    if (plan.video)
        text += "sbatch --dependency=afterok:\"$array\" --job-name=" + name +
                "-join --output=" + name +
                "-join-%j.out \\\n    --wrap=" + FarmJob::shellWord(joinLine(plan, plan.program)) +
                "\n";
    return text + "echo \"submitted the ranges as job $array\"\n";
}

// A string in YAML's double-quoted style.
std::string yamlString(const std::string& text) {
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\')
            quoted += '\\';
        quoted += c;
    }
    return quoted + "\"";
}

// The folder that holds every file the job reads or writes: what the pods' volume mounts.
std::string commonFolder(const FarmJob::Plan& plan) {
    std::vector<fs::path> paths{fs::path(plan.output).parent_path(),
                                fs::path(plan.scene).parent_path()};
    for (const std::string& word : plan.shared)
        if (!word.empty() && word.front() == '/')
            paths.push_back(fs::path(word).parent_path());
    fs::path common = paths.front();
    for (const fs::path& path : paths) {
        fs::path shared;
        auto a = common.begin();
        auto b = path.begin();
        for (; a != common.end() && b != path.end() && *a == *b; ++a, ++b)
            shared /= *a;
        common = shared;
    }
    return common.empty() ? "/" : common.string();
}

std::string kubernetesText(const FarmJob::Plan& plan) {
    const std::string name = jobName(plan);
    const std::string folder = commonFolder(plan);
    const std::size_t count = plan.ranges.size();
    std::string text =
        "# " + summary(plan) +
        " as a Kubernetes Indexed Job: the pod of index I renders\n"
        "# range I" +
        (plan.video ? ", and the pod that finds every segment written joins them" : "") +
        ".\n# Fill in an image with corvane installed and a volume claim that holds " + folder +
        ",\n# mounted at that path. Then: kubectl apply -f FILE\n"
        "# Bad input (exit status 1 or 2) fails the job at once; any other failure is tried "
        "again.\n# " +
        RERUN + "\napiVersion: batch/v1\nkind: Job\nmetadata:\n  name: " + name +
        "\nspec:\n  completionMode: Indexed\n  completions: " + std::to_string(count) +
        "\n  parallelism: " + std::to_string(count) +
        "\n  backoffLimit: " + std::to_string(3 * count) +
        "\n  podFailurePolicy:\n    rules:\n      - action: FailJob\n        onExitCodes:\n"
        "          containerName: render\n          operator: In\n          values: [1, 2]\n"
        "      - action: Ignore\n        onPodConditions:\n          - type: DisruptionTarget\n"
        "  template:\n    spec:\n      restartPolicy: Never\n      containers:\n"
        "        - name: render\n          image: corvane:latest\n"
        "          command: [\"/bin/sh\", \"-c\"]\n          args:\n            - |\n"
        "              set -e\n              set -- " +
        labels(plan) + "\n              shift \"$JOB_COMPLETION_INDEX\"\n              " +
        renderLine(plan, "corvane", "$1") + "\n";
    if (plan.video) {
        std::vector<std::string> files = segmentFiles(plan);
        text += "              for segment in " + joined(files) +
                "; do\n                [ -e \"$segment\" ] || exit 0\n              done\n"
                "              exec " +
                joinLine(plan, "corvane") + "\n";
    }
    text += "          volumeMounts:\n            - name: project\n              mountPath: " +
            yamlString(folder) +
            "\n      volumes:\n        - name: project\n          persistentVolumeClaim:\n"
            "            claimName: corvane-project\n";
    return text;
}

} // namespace

bool FarmJob::engineOf(const std::string& name, Engine& engine) {
    if (name == "parallel")
        engine = Engine::PARALLEL;
    else if (name == "slurm")
        engine = Engine::SLURM;
    else if (name == "kubernetes")
        engine = Engine::KUBERNETES;
    else
        return false;
    return true;
}

std::string FarmJob::segmentFile(const std::string& output, const FrameRange& range) {
    const fs::path film(output);
    return (film.parent_path() /
            (film.stem().string() + "." + range.label() + film.extension().string()))
        .string();
}

std::string FarmJob::shellWord(const std::string& word) {
    const bool plain = !word.empty() && std::all_of(word.begin(), word.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) != 0 ||
               std::string("_@%+=:,./-").find(c) != std::string::npos;
    });
    if (plain)
        return word;
    std::string quoted = "'";
    for (char c : word)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

std::string FarmJob::text(Engine engine, const Plan& plan) {
    switch (engine) {
    case Engine::SLURM:
        return slurmText(plan);
    case Engine::KUBERNETES:
        return kubernetesText(plan);
    case Engine::PARALLEL:
        break;
    }
    return parallelText(plan);
}

} // namespace corvane
