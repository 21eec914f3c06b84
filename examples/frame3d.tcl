# Three-storey steel moment frame, 3 x 2 bays, elastic members.
# Units: kN, m, s.

wipe
model basic -ndm 3 -ndf 6

# ---------------------------------------------------------------- geometry
set bayX 6.0                       ;# bay width along X
set bayY 5.0                       ;# bay width along Y
set storeyHeights {4.0 3.5 3.5}
set nx 4                           ;# column lines along X
set ny 3                           ;# column lines along Y

# node tag: floor * 100 + line along Y * 10 + line along X (floor 0 is the base)
proc nodeTag {floor i j} {
    return [expr {100 * $floor + 10 * $j + $i}]
}

set z 0.0
for {set floor 0} {$floor <= [llength $storeyHeights]} {incr floor} {
    if {$floor > 0} {
        set z [expr {$z + [lindex $storeyHeights [expr {$floor - 1}]]}]
    }
    for {set j 1} {$j <= $ny} {incr j} {
        for {set i 1} {$i <= $nx} {incr i} {
            node [nodeTag $floor $i $j] [expr {($i - 1) * $bayX}] [expr {($j - 1) * $bayY}] $z
        }
    }
}

# fixed base
for {set j 1} {$j <= $ny} {incr j} {
    for {set i 1} {$i <= $nx} {incr i} {
        fix [nodeTag 0 $i $j] 1 1 1 1 1 1
    }
}

# ---------------------------------------------------------------- members
set E 2.0e8
set G 7.7e7
# HEB 300 columns, IPE 400 beams
set column {A 1.49e-2 Iz 8.56e-5 Iy 2.52e-4 J 1.85e-6}
set beam   {A 8.45e-3 Iz 1.32e-5 Iy 2.31e-4 J 5.13e-7}

geomTransf PDelta 1 1 0 0          ;# columns
geomTransf Linear 2 0 0 1          ;# beams along X
geomTransf Linear 3 0 0 1          ;# beams along Y

proc member {tag iNode jNode props transf} {
    global E G
    dict with props {
        element elasticBeamColumn $tag $iNode $jNode $A $E $G $J $Iy $Iz $transf
    }
}

set floors [llength $storeyHeights]
for {set floor 1} {$floor <= $floors} {incr floor} {
    for {set j 1} {$j <= $ny} {incr j} {
        for {set i 1} {$i <= $nx} {incr i} {
            set top [nodeTag $floor $i $j]
            member [expr {1000 + $top}] [nodeTag [expr {$floor - 1}] $i $j] $top $column 1
            if {$i < $nx} {
                member [expr {2000 + $top}] $top [nodeTag $floor [expr {$i + 1}] $j] $beam 2
            }
            if {$j < $ny} {
                member [expr {3000 + $top}] $top [nodeTag $floor $i [expr {$j + 1}]] $beam 3
            }
        }
    }
}

# ---------------------------------------------------------------- masses
set floorMass 60.0                 ;# t per column node
for {set floor 1} {$floor <= $floors} {incr floor} {
    for {set j 1} {$j <= $ny} {incr j} {
        for {set i 1} {$i <= $nx} {incr i} {
            mass [nodeTag $floor $i $j] $floorMass $floorMass 0.0 0.0 0.0 0.0
        }
    }
}

# ---------------------------------------------------------------- modal check
set lambda [eigen 3]
set periods {}
foreach l $lambda {
    lappend periods [format %.3f [expr {2.0 * acos(-1.0) / sqrt($l)}]]
}
puts "periods: $periods"

# ---------------------------------------------------------------- ground motion
set dt 0.01
timeSeries Path 1 -dt $dt -values {
    0.0 0.012 0.031 0.045 0.020 -0.018 -0.052 -0.061 -0.030 0.008
    0.047 0.066 0.041 -0.005 -0.044 -0.058 -0.033 0.004 0.021 0.0
} -factor 9.81
pattern UniformExcitation 1 1 -accel 1

recorder Node -file roofDisp.out -time -node [nodeTag $floors 1 1] -dof 1 2 disp
recorder Element -file baseForces.out -time -ele 1111 1112 force

rayleigh 0.0 0.0 0.0 0.0
constraints Transformation
numberer RCM
system BandGeneral
test NormDispIncr 1.0e-8 10
algorithm Newton
integrator Newmark 0.5 0.25
analysis Transient

set steps 100
set ok [analyze $steps $dt]
puts "analysis finished with $ok"
