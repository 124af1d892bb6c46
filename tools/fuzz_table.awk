# The fuzz section of docs/reliability.md from fuzz/campaigns.tsv: per target the latest
# campaign and the totals over all campaigns.
NR == 1 { next }
{
  t = $2
  if (!(t in total_seconds)) order[++n] = t
  last_date[t] = $1; last_seconds[t] = $3; last_runs[t] = $4
  files[t] = $5; bytes[t] = $6; last_crashes[t] = $7
  total_seconds[t] += $3; total_runs[t] += $4; total_crashes[t] += $7
}
END {
  print "## Fuzzing"
  print ""
  print "Written by `bash tools/fuzz.sh [minutes]` from `fuzz/campaigns.tsv`. Inputs that once failed"
  print "are kept in `fuzz/regressions/<target>/` and replayed, with the corpus, by `ctest --preset fuzz`."
  print ""
  print "| target | last run | minutes | executions | all runs: hours | all runs: executions | corpus inputs (bytes) | crashes last / all |"
  print "|---|---|---:|---:|---:|---:|---:|---:|"
  for (i = 1; i <= n; ++i) {
    t = order[i]
    printf "| %s | %s | %.1f | %d | %.2f | %d | %d (%d) | %d / %d |\n", t, last_date[t], last_seconds[t] / 60,
      last_runs[t], total_seconds[t] / 3600, total_runs[t], files[t], bytes[t], last_crashes[t], total_crashes[t]
  }
}
