# The command line's manners: --help prints the usage and a line for every option and ends with
# 0, --version prints the version and ends with 0, an unknown option or one without its argument
# prints what is wrong and the usage on standard error and ends with 2. None opens a window.
. "$(dirname "$0")/lib/common.sh"

"$TUVO" --help >"$OUT/help.txt" 2>"$OUT/help.err"
[ $? -eq 0 ] || fail "--help ended with $?"
[ ! -s "$OUT/help.err" ] || fail "--help wrote to standard error: $(cat "$OUT/help.err")"
head -n 1 "$OUT/help.txt" | grep -q "^usage: tuvo" || fail "--help does not start with the usage"
for option in --fullscreen --record --replay --headless --host --join --host-online --join-code \
    --lobby --keys --help --version; do
    grep -Eq "^  $option( |\$)" "$OUT/help.txt" || fail "--help has no line for $option"
done

"$TUVO" --version >"$OUT/version.txt" 2>&1
[ $? -eq 0 ] || fail "--version ended with $?"
grep -Eqx "TUVO!! [0-9]+\.[0-9]+\.[0-9]+" "$OUT/version.txt" || fail "--version said: $(cat "$OUT/version.txt")"

"$TUVO" --no-such-option >"$OUT/unknown.out" 2>"$OUT/unknown.err"
code=$?
[ "$code" -eq 2 ] || fail "an unknown option ended with $code, not 2"
grep -q -- "--no-such-option is not an option" "$OUT/unknown.err" || fail "no word on the option"
grep -q "^usage: tuvo" "$OUT/unknown.err" || fail "no usage after an unknown option"
[ ! -s "$OUT/unknown.out" ] || fail "an unknown option wrote to standard output"

"$TUVO" --record >/dev/null 2>"$OUT/missing.err"
[ $? -eq 2 ] || fail "--record without a file did not end with 2"
grep -q -- "--record needs FILE" "$OUT/missing.err" || fail "no word on the missing file"
# A code that cannot be one is refused before anything is asked of a lobby.
"$TUVO" --join-code 1O1O1O --headless --keys none >/dev/null 2>"$OUT/code.err"
[ $? -eq 2 ] || fail "a code with 1 and O was not refused with 2"
grep -q -- "--join-code 1O1O1O: not a code" "$OUT/code.err" || fail "no word on the code: $(cat "$OUT/code.err")"
"$TUVO" --host-online --join-code ABCDEF >/dev/null 2>"$OUT/both.err"
[ $? -eq 2 ] || fail "hosting and joining at once was not refused"
rm -rf "$OUT"
echo "command line ok"
