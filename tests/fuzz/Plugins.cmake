# The effect libraries the fuzz target drives, in the order byte 0 of an input selects them
# (kFactories in EffectFuzzer.cpp, the list in scripts/fuzz.sh).
set(quorvel_fuzzed_libraries
    scalomir_effect brenlit_effect valdrin_effect sorvane_effect kelvost_effect
    marquil_effect tavrune_effect lunfeth_effect gavorn_effect pellix_effect)
