#pragma once
// One running copy per user and session: the first holds a named mutex, which
// Windows lets go of when the process ends however it ends. A second copy
// finds the mutex taken, lets any process take the foreground (it is the
// program the player just started, so it may hand that right on), asks the
// first copy through a named event to raise its window, waits up to a
// second for its answer on a second event, and leaves.
#include <string>

namespace pw {

class SingleInstance {
public:
    enum class Claim { First, AnotherRuns, NoAnswer, Unavailable };

    SingleInstance() = default;
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // Takes the mutex, or asks the copy that holds it to raise its window.
    // NoAnswer when that copy did not answer within a second. Unavailable
    // when the named objects cannot be made; the game then runs without the
    // check. Problem() says why in both cases.
    Claim ClaimOrSignal();
    const std::string& Problem() const { return problem_; }

    // For the first copy's listener: signalled when another copy asks for
    // the window (null before the claim), and the answer to give it.
    void* RaiseRequest() const { return raise_; }
    void AnswerRaise();

private:
    // Lets go of whatever was made, with the problem.
    Claim Unavailable(const std::string& problem);

    std::string problem_;
    void* mutex_ = nullptr;
    void* raise_ = nullptr;
    void* answer_ = nullptr;
};

}  // namespace pw
