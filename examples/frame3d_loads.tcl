# Two-storey steel frame, 2 x 1 bays, under gravity and then lateral loads: static analysis.
# Supports differ on purpose: the front line is fixed; at the back one column is pinned, one stands
# on a roller and one on a roller held sideways by springs. Units: kN, m.

wipe
model basic -ndm 3 -ndf 6

set bayX 6.0
set bayY 5.0
set storey 3.5
set nx 3                          ;# column lines along X
set ny 2                          ;# column lines along Y
set floors 2

proc nodeTag {floor i j} {
    return [expr {100 * $floor + 10 * $j + $i}]
}

for {set floor 0} {$floor <= $floors} {incr floor} {
    for {set j 1} {$j <= $ny} {incr j} {
        for {set i 1} {$i <= $nx} {incr i} {
            node [nodeTag $floor $i $j] [expr {($i - 1) * $bayX}] [expr {($j - 1) * $bayY}] \
                [expr {$floor * $storey}]
        }
    }
}

# ---------------------------------------------------------------- supports
for {set i 1} {$i <= $nx} {incr i} {
    fix [nodeTag 0 $i 1] 1 1 1 1 1 1          ;# fixed
}
fix [nodeTag 0 1 2] 1 1 1 0 0 0               ;# pinned
fix [nodeTag 0 2 2] 0 0 1 0 0 0               ;# roller
fix [nodeTag 0 3 2] 0 0 1 0 0 0               ;# roller, held by the springs below

node 9023 [expr {2 * $bayX}] $bayY 0.0
fix 9023 1 1 1 1 1 1
uniaxialMaterial Elastic 10 5.0e4
element zeroLength 9001 9023 [nodeTag 0 3 2] -mat 10 10 -dir 1 2

# ---------------------------------------------------------------- members
set E 2.0e8
set G 7.7e7
# HEB 300 columns, strong axis about local z; IPE 400 beams, bending in the vertical plane about z
set column {A 1.49e-2 Iz 2.52e-4 Iy 8.56e-5 J 1.85e-6}
set beam   {A 8.45e-3 Iz 2.31e-4 Iy 1.32e-5 J 5.13e-7}

geomTransf PDelta 1 0 1 0         ;# columns: local y along global X
geomTransf Linear 2 0 -1 0        ;# beams along X: local y up
geomTransf Linear 3 1 0 0         ;# beams along Y: local y up

proc member {tag iNode jNode props transf} {
    global E G
    dict with props {
        element elasticBeamColumn $tag $iNode $jNode $A $E $G $J $Iy $Iz $transf
    }
}

set beamsX {}
set beamsY {}
for {set floor 1} {$floor <= $floors} {incr floor} {
    for {set j 1} {$j <= $ny} {incr j} {
        for {set i 1} {$i <= $nx} {incr i} {
            set top [nodeTag $floor $i $j]
            member [expr {1000 + $top}] [nodeTag [expr {$floor - 1}] $i $j] $top $column 1
            if {$i < $nx} {
                member [expr {2000 + $top}] $top [nodeTag $floor [expr {$i + 1}] $j] $beam 2
                lappend beamsX [expr {2000 + $top}]
            }
            if {$j < $ny} {
                member [expr {3000 + $top}] $top [nodeTag $floor $i [expr {$j + 1}]] $beam 3
                lappend beamsY [expr {3000 + $top}]
            }
        }
    }
}

# ---------------------------------------------------------------- gravity
timeSeries Linear 1
pattern Plain 1 1 {
    eval eleLoad -ele $beamsX -type -beamUniform -20.0 0.0
    eval eleLoad -ele $beamsY -type -beamUniform -12.0 0.0
    # a machine on the first floor's front beam, a third of the way along
    eleLoad -ele 2111 -type -beamPoint -60.0 0.0 0.333
}

constraints Transformation
numberer RCM
system BandGeneral
test NormDispIncr 1.0e-8 10
algorithm Newton
integrator LoadControl 0.2
analysis Static
analyze 5
loadConst -time 0.0

# ---------------------------------------------------------------- lateral
timeSeries Linear 2
pattern Plain 2 2 {
    for {set j 1} {$j <= $ny} {incr j} {
        load [nodeTag 1 1 $j] 30.0 0.0 0.0 0.0 0.0 0.0
        load [nodeTag 2 1 $j] 60.0 0.0 0.0 0.0 0.0 0.0
    }
}
integrator LoadControl 1.0
analyze 1
puts "done"
