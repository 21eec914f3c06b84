# Evaluates a generated model script in plain tclsh with every solver command the script
# uses bound to an empty procedure: the yardstick of the interpretation benchmark.
#
#   tclsh8.6 stubs.tcl script.tcl           empty procedures; prints the evaluation time in us
#   tclsh8.6 stubs.tcl --count script.tcl   counting procedures; prints nodes, elements, fixes
#   tclsh8.6 stubs.tcl --record script.tcl  procedures that keep what the model record keeps (tags,
#                                           coordinates, element type and node tags, fixities) in
#                                           Tcl lists: the same work as ours, written in Tcl
#
# Like the model interpreter, `pattern` does not evaluate its body.

set solverCommands {
    wipe model node mass fix geomTransf element timeSeries pattern load loadConst constraints
    numberer system test algorithm integrator analysis analyze recorder rayleigh wipeAnalysis
    section nDMaterial uniaxialMaterial
}

set counting 0
set recording 0
if {[lindex $argv 0] eq "--count"} {
    set counting 1
    set argv [lrange $argv 1 end]
} elseif {[lindex $argv 0] eq "--record"} {
    set recording 1
    set argv [lrange $argv 1 end]
}
if {[llength $argv] != 1} {
    puts stderr "usage: stubs.tcl ?--count|--record? script.tcl"
    exit 2
}
set script [file normalize [lindex $argv 0]]

foreach name $solverCommands {
    proc $name args {}
}
if {$counting} {
    array set ::count {node 0 element 0 fix 0}
    array set ::fixed {}
    proc node args { incr ::count(node) }
    proc element args { incr ::count(element) }
    proc fix {tag args} { incr ::count(fix); set ::fixed($tag) 1 }
}

if {$recording} {
    set ::nodes {}
    set ::elements {}
    set ::fixes {}
    proc node {tag x {y 0.0} {z 0.0} args} { lappend ::nodes $tag $x $y $z }
    # type, tag, then the node tags: two for beams, four for shells, eight for bricks
    array set ::nodeCount {elasticBeamColumn 2 ShellMITC4 4 stdBrick 8}
    proc element {type tag args} {
        lappend ::elements $type $tag [lrange $args 0 [expr {$::nodeCount($type) - 1}]]
    }
    proc fix {tag args} { lappend ::fixes $tag $args }
}

# The script's own puts goes nowhere, as it goes to the log file in the application.
rename puts tcl_puts
proc puts args {}

cd [file dirname $script]
set started [clock microseconds]
source [file tail $script]
set elapsed [expr {[clock microseconds] - $started}]

if {$counting} {
    tcl_puts "nodes $::count(node) elements $::count(element) fixes $::count(fix)\
        fixedNodes [array size ::fixed]"
} else {
    tcl_puts "eval_us $elapsed"
}
