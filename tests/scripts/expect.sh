# The checks the script tests share: Expect compares and counts failures, Finish reports them.
# Sourced with bash.

failures=0

Expect() {  # Expect NAME EXPECTED ACTUAL
  if [[ $2 == "$3" ]]; then
    echo "ok   $1"
  else
    echo "FAIL $1"; echo "     expected: $2"; echo "     actual:   $3"
    failures=$((failures + 1))
  fi
}

Finish() {  # Finish NAME: exits with the outcome of the tests called NAME
  if ((failures)); then echo "$1: $failures failed"; exit 1; fi
  echo "$1: all passed"
}
