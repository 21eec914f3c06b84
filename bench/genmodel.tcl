# Writes solver scripts of a chosen size the way engineers write them: parameters at the
# top, small procedures, nested loops. Used by the benchmarks; run with plain tclsh.
#
#   tclsh8.6 genmodel.tcl frame NX NY NZ out.tcl   3-D moment frame of NX x NY x NZ bays
#   tclsh8.6 genmodel.tcl shell NX NY out.tcl      ShellMITC4 slab of NX x NY panels
#   tclsh8.6 genmodel.tcl brick NX NY NZ out.tcl   stdBrick block of NX x NY x NZ bricks
#
# Frame: (NX+1)(NY+1)(NZ+1) nodes, (NX+1)(NY+1) fixed base nodes, (NX+1)(NY+1)NZ columns
# and NZ(NX(NY+1) + NY(NX+1)) beams. The reference 50 x 50 x 20 frame has 54621 nodes,
# 154020 elements and 2601 fixed nodes.
#
# The scripts avoid `string`, `clock`, `trace` and `exit`: the model interpreter replaces
# them with commands that do nothing, as the solver's own table does.

proc usage {} {
    puts stderr "usage: genmodel.tcl frame NX NY NZ out.tcl | shell NX NY out.tcl | brick NX NY NZ out.tcl"
    exit 2
}

proc positiveInt {word} {
    if {![string is integer -strict $word] || $word < 1} {
        puts stderr "genmodel: not a positive integer: $word"
        exit 2
    }
    return $word
}

proc frameScript {nx ny nz} {
    return [string map [list %NX% $nx %NY% $ny %NZ% $nz] {# 3-D moment frame, %NX% x %NY% x %NZ% bays: elastic beam-columns, lumped masses,
# fixed base, gravity then a uniform ground acceleration.
wipe
model basic -ndm 3 -ndf 6

# ---- geometry and units (kN, m, s)
set nBayX %NX%
set nBayY %NY%
set nStory %NZ%
set bayX 6.0
set bayY 7.5
set storyH 3.6

# ---- section properties
set E 3.0e7
set G [expr {$E / (2.0 * (1.0 + 0.2))}]
set colA 0.36;  set colIy 0.0108; set colIz 0.0108; set colJ 0.0182
set bmA 0.18;   set bmIy 0.0054;  set bmIz 0.0015;  set bmJ 0.0041
set floorMass 12.5

# Node numbering: one storey level after the other, row by row.
proc nodeTag {i j k} {
    global nBayX nBayY
    return [expr {1 + $i + ($nBayX + 1) * ($j + ($nBayY + 1) * $k)}]
}

# ---- nodes with their masses
for {set k 0} {$k <= $nStory} {incr k} {
    set z [expr {$k * $storyH}]
    for {set j 0} {$j <= $nBayY} {incr j} {
        set y [expr {$j * $bayY}]
        for {set i 0} {$i <= $nBayX} {incr i} {
            set tag [nodeTag $i $j $k]
            node $tag [expr {$i * $bayX}] $y $z
            if {$k > 0} {
                mass $tag $floorMass $floorMass $floorMass 0.0 0.0 0.0
            }
        }
    }
}

# ---- fixed base
for {set j 0} {$j <= $nBayY} {incr j} {
    for {set i 0} {$i <= $nBayX} {incr i} {
        fix [nodeTag $i $j 0] 1 1 1 1 1 1
    }
}

# ---- transformations: columns, beams along X, beams along Y
set colTransf 1
set beamXTransf 2
set beamYTransf 3
geomTransf PDelta $colTransf 1 0 0
geomTransf Linear $beamXTransf 0 0 1
geomTransf Linear $beamYTransf 0 0 1

set eleTag 0
proc column {iNode jNode} {
    global eleTag E G colA colJ colIy colIz colTransf
    incr eleTag
    element elasticBeamColumn $eleTag $iNode $jNode $colA $E $G $colJ $colIy $colIz $colTransf
}
proc beam {iNode jNode transf} {
    global eleTag E G bmA bmJ bmIy bmIz
    incr eleTag
    element elasticBeamColumn $eleTag $iNode $jNode $bmA $E $G $bmJ $bmIy $bmIz $transf
}

# ---- columns
for {set k 1} {$k <= $nStory} {incr k} {
    for {set j 0} {$j <= $nBayY} {incr j} {
        for {set i 0} {$i <= $nBayX} {incr i} {
            column [nodeTag $i $j [expr {$k - 1}]] [nodeTag $i $j $k]
        }
    }
}

# ---- beams in both directions
for {set k 1} {$k <= $nStory} {incr k} {
    for {set j 0} {$j <= $nBayY} {incr j} {
        for {set i 0} {$i < $nBayX} {incr i} {
            beam [nodeTag $i $j $k] [nodeTag [expr {$i + 1}] $j $k] $beamXTransf
        }
    }
    for {set j 0} {$j < $nBayY} {incr j} {
        for {set i 0} {$i <= $nBayX} {incr i} {
            beam [nodeTag $i $j $k] [nodeTag $i [expr {$j + 1}] $k] $beamYTransf
        }
    }
}
puts "frame: [nodeTag $nBayX $nBayY $nStory] nodes, $eleTag elements"

# ---- gravity
timeSeries Linear 1
pattern Plain 1 1 {
    for {set k 1} {$k <= $nStory} {incr k} {
        for {set j 0} {$j <= $nBayY} {incr j} {
            for {set i 0} {$i <= $nBayX} {incr i} {
                load [nodeTag $i $j $k] 0.0 0.0 [expr {-9.81 * $floorMass}] 0.0 0.0 0.0
            }
        }
    }
}
constraints Plain
numberer RCM
system BandGeneral
test NormDispIncr 1.0e-8 10
algorithm Newton
integrator LoadControl 0.1
analysis Static
analyze 10
loadConst -time 0.0

# ---- ground motion along X
recorder Node -file roofDisp.out -time -node [nodeTag 0 0 $nStory] -dof 1 2 3 disp
timeSeries Sine 2 0.0 10.0 0.5 -factor 2.0
pattern UniformExcitation 2 1 -accel 2
rayleigh 0.0 0.0 0.0 0.002
wipeAnalysis
constraints Plain
numberer RCM
system BandGeneral
test NormDispIncr 1.0e-8 10
algorithm Newton
integrator Newmark 0.5 0.25
analysis Transient
analyze 1000 0.01
}]
}

proc shellScript {nx ny} {
    return [string map [list %NX% $nx %NY% $ny] {# Flat slab of %NX% x %NY% ShellMITC4 panels, pinned along its edges, under a uniform load.
wipe
model basic -ndm 3 -ndf 6

set nX %NX%
set nY %NY%
set lenX 0.5
set lenY 0.5
section ElasticMembranePlateSection 1 3.0e7 0.2 0.25 2.5

proc slabNode {i j} {
    global nX
    return [expr {1 + $i + ($nX + 1) * $j}]
}

for {set j 0} {$j <= $nY} {incr j} {
    for {set i 0} {$i <= $nX} {incr i} {
        node [slabNode $i $j] [expr {$i * $lenX}] [expr {$j * $lenY}] 0.0
    }
}

# pinned edges
for {set j 0} {$j <= $nY} {incr j} {
    for {set i 0} {$i <= $nX} {incr i} {
        if {$i == 0 || $j == 0 || $i == $nX || $j == $nY} {
            fix [slabNode $i $j] 1 1 1 0 0 0
        }
    }
}

set eleTag 0
for {set j 0} {$j < $nY} {incr j} {
    for {set i 0} {$i < $nX} {incr i} {
        incr eleTag
        element ShellMITC4 $eleTag [slabNode $i $j] [slabNode [expr {$i + 1}] $j] \
            [slabNode [expr {$i + 1}] [expr {$j + 1}]] [slabNode $i [expr {$j + 1}]] 1
    }
}

timeSeries Linear 1
pattern Plain 1 1 {
    for {set j 1} {$j < $nY} {incr j} {
        for {set i 1} {$i < $nX} {incr i} {
            load [slabNode $i $j] 0.0 0.0 -1.25 0.0 0.0 0.0
        }
    }
}
constraints Plain
numberer RCM
system BandGeneral
test NormDispIncr 1.0e-8 10
algorithm Linear
integrator LoadControl 1.0
analysis Static
analyze 1
}]
}

proc brickScript {nx ny nz} {
    return [string map [list %NX% $nx %NY% $ny %NZ% $nz] {# Block of %NX% x %NY% x %NZ% stdBrick elements on a fixed base, loaded on its top face.
wipe
model basic -ndm 3 -ndf 3

set nX %NX%
set nY %NY%
set nZ %NZ%
set h 0.25
nDMaterial ElasticIsotropic 1 3.0e7 0.2 2.5

proc brickNode {i j k} {
    global nX nY
    return [expr {1 + $i + ($nX + 1) * ($j + ($nY + 1) * $k)}]
}

for {set k 0} {$k <= $nZ} {incr k} {
    for {set j 0} {$j <= $nY} {incr j} {
        for {set i 0} {$i <= $nX} {incr i} {
            node [brickNode $i $j $k] [expr {$i * $h}] [expr {$j * $h}] [expr {$k * $h}]
        }
    }
}

for {set j 0} {$j <= $nY} {incr j} {
    for {set i 0} {$i <= $nX} {incr i} {
        fix [brickNode $i $j 0] 1 1 1
    }
}

# bottom face 1-2-3-4, top face 5-6-7-8
proc brick {tag i j k} {
    set i1 [expr {$i + 1}]
    set j1 [expr {$j + 1}]
    set k1 [expr {$k + 1}]
    element stdBrick $tag [brickNode $i $j $k] [brickNode $i1 $j $k] [brickNode $i1 $j1 $k] \
        [brickNode $i $j1 $k] [brickNode $i $j $k1] [brickNode $i1 $j $k1] [brickNode $i1 $j1 $k1] \
        [brickNode $i $j1 $k1] 1
}

set eleTag 0
for {set k 0} {$k < $nZ} {incr k} {
    for {set j 0} {$j < $nY} {incr j} {
        for {set i 0} {$i < $nX} {incr i} {
            brick [incr eleTag] $i $j $k
        }
    }
}

timeSeries Linear 1
pattern Plain 1 1 {
    for {set j 0} {$j <= $nY} {incr j} {
        for {set i 0} {$i <= $nX} {incr i} {
            load [brickNode $i $j $nZ] 0.0 0.0 -10.0
        }
    }
}
constraints Plain
numberer RCM
system BandGeneral
test NormDispIncr 1.0e-8 10
algorithm Linear
integrator LoadControl 1.0
analysis Static
analyze 1
}]
}

set kind [lindex $argv 0]
switch -- $kind {
    frame {
        if {[llength $argv] != 5} usage
        lassign [lrange $argv 1 3] nx ny nz
        set text [frameScript [positiveInt $nx] [positiveInt $ny] [positiveInt $nz]]
    }
    shell {
        if {[llength $argv] != 4} usage
        lassign [lrange $argv 1 2] nx ny
        set text [shellScript [positiveInt $nx] [positiveInt $ny]]
    }
    brick {
        if {[llength $argv] != 5} usage
        lassign [lrange $argv 1 3] nx ny nz
        set text [brickScript [positiveInt $nx] [positiveInt $ny] [positiveInt $nz]]
    }
    default usage
}
set out [open [lindex $argv end] w]
puts -nonewline $out $text
close $out
