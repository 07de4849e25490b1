# Replays the fuzzing corpus and regression inputs in the regular test suite (being written)
