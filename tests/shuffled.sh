#!/usr/bin/env bash
# Runs one shard of the whole test suite in one process, in a shuffled order:
#   shuffled.sh PROGRAM SOURCE_DIR SHARD SHARDS
# The order's seed is MORVANTA_TEST_SEED when set (a number, or "random" for a new order), else
# it is derived from the source tree's commit, so that a run of the same commit repeats the same
# order. The first line names the seed and the command that repeats this shard.
set -u
program="$1"
source_dir="$2"
shard="$3"
shards="$4"
seed="${MORVANTA_TEST_SEED:-}"
origin="MORVANTA_TEST_SEED"
if [ "$seed" = random ]; then
  seed=$(( (RANDOM * 32768 + RANDOM) % 99999 + 1 ))
  origin="a random draw"
elif [ -z "$seed" ]; then
  commit=$(git -C "$source_dir" rev-parse --short=12 HEAD 2>/dev/null || true)
  if [ -n "$commit" ]; then
    seed=$(( 16#${commit:0:7} % 99999 + 1 ))
    origin="commit $commit"
  else
    seed=1
    origin="no commit"
  fi
fi
echo "shard $shard of $shards, seed $seed ($origin); to repeat it:"
echo "  GTEST_TOTAL_SHARDS=$shards GTEST_SHARD_INDEX=$shard $program --gtest_shuffle --gtest_random_seed=$seed"
export GTEST_TOTAL_SHARDS="$shards" GTEST_SHARD_INDEX="$shard"
exec "$program" --gtest_shuffle --gtest_random_seed="$seed"
