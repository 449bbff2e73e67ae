# Reads `apitrace dump` output and checks the shape of the GL stream:
# - every cube is drawn as glPushMatrix, glTranslatef, a colour, an optional glScalef,
#   glCallList, glPopMatrix, with nothing else in between;
# - no GL call is made while no context is current (after `glXMakeCurrent`/`eglMakeCurrent`
#   with a null context, or after the current context was destroyed).
# Prints a summary; exits 1 on the first fault. Set min_cubes to require that many cubes.
{
  name = $2
  sub(/\(.*/, "", name)
  if (name !~ /^gl/ && name !~ /^egl/) next
  if (name ~ /^(glXMakeCurrent|glXMakeContextCurrent|eglMakeCurrent)$/) {
    current = ($0 ~ /ctx = (NULL|0x0|0)[,)]/) ? "" : $0
    sub(/.*ctx = /, "", current)
    sub(/\).*/, "", current)
    if (current == "") released++
    next
  }
  if (name ~ /^(glXDestroyContext|eglDestroyContext)$/) {
    gone = $0
    sub(/.*ctx = /, "", gone)
    sub(/\).*/, "", gone)
    if (gone == current) { current = ""; released++ }
    next
  }
  if (name ~ /^(glX|egl)/) next
  if (current == "" && seen_context) {
    print "GL call with no current context: " $0
    exit_code = 1
    exit
  }
  seen_context = 1
  if (expect_pop) {
    if (name != "glPopMatrix") { print "cube not closed by glPopMatrix: " $0; exit_code = 1; exit }
    expect_pop = 0
    cubes++
  }
  if (name == "glPushMatrix") { seq = name; next }
  seq = seq " " name
  if (name == "glCallList") {
    if (seq !~ /^glPushMatrix glTranslatef glColor(3f|3fv|4f|4fv) (glScalef )?glCallList$/) {
      print "cube drawn as: " seq " (at call " $1 ")"
      exit_code = 1
      exit
    }
    expect_pop = 1
  }
}
END {
  if (exit_code) exit exit_code
  if (cubes < min_cubes + 0) { print "only " cubes " cubes in the trace"; exit 1 }
  print cubes " cubes, each push, translate, colour, scale, list, pop" (released ? "; no GL call without a current context" : "")
}
