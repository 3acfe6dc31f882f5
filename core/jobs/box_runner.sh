#!/bin/sh
# olmirafm's job runner: copies and moves on the box, job after job, on
# after the Telnet session ends. Plain sh and busybox applets only.
D=/tmp/olmirafm
L=$D/lock

say() { printf 'olmirafm-%s\n' "$*"; }
st() { printf '%s\n' "$*" >>"$J/status"; }
# Whether anything, a dangling link too, stands at path $1.
there() { [ -e "$1" ] || [ -L "$1" ]; }

# A lock whose pid names no runner; one without a pid is still starting.
stale() {
	p=$(cat "$L/pid" 2>/dev/null) && [ -n "$p" ] || return 1
	case $(tr '\0' ' ' 2>/dev/null <"/proc/$p/cmdline") in *runner-*) return 1 ;; esac
}
alive() { [ -d "$L" ] && ! stale; }

ended() {
	[ -f "$J/status" ] || return 1
	while IFS= read -r l; do [ "$l" = end ] && return 0; done <"$J/status"
	return 1
}

# Job numbers ascending: shorter ones first, then in glob order.
each() {
	t=$(cat "$D/next" 2>/dev/null) q=
	while [ ${#q} -lt ${#t} ]; do
		q="$q?"
		for j in "$D"/jobs/$q; do [ -d "$j" ] && printf '%s\n' "${j##*/}"; done
	done
}

num() {
	case $1 in '' | *[!0-9]*) ;; *) n=$1 J=$D/jobs/$1 && [ -d "$J" ] && return ;; esac
	say job "$1" unknown
	return 1
}

state() {
	if ended; then s=ended
	elif [ -e "$J/interrupted" ]; then s=interrupted
	elif alive; then
		s=queued
		[ "$(cat "$L/job" 2>/dev/null)" = "$n" ] && s=running
	# no lock at all: a runner hands over to one for a job just queued
	elif [ ! -d "$L" ] && [ ! -f "$J/status" ]; then s=queued
	else s=interrupted
	fi
}

# w= the one existing path the shell word $1 matches, else c= the count.
# Every word was checked at submit: one that does not parse would end the
# shell here.
one() {
	eval "set -- $1"
	[ $# = 1 ] && there "$1" && w=$1 && return
	c=$#
	[ $# != 1 ] || c=0
	return 1
}

# Whether every word of job file $1 parses, in a subshell of its own.
words() {
	(
		while IFS= read -r l; do
			case $l in
			dest\ *) v=${l#dest } ;;
			entry\ *) v=${l#entry } && v=${v#* } ;;
			*) continue ;;
			esac
			eval "set -- $v" || exit
		done <"$1"
	) >/dev/null 2>&1
}

# The word unexpanded, for a folder gone since submit: cp then fails on it.
lit() { set -f && eval "set -- $1" && printf %s "$1"; }

chk() {
	why='no file' k=0
	[ -f "$1" ] || return 1
	why=word
	words "$1" || return 1
	while IFS= read -r l; do
		k=$((k + 1)) why="line $k"
		case $k in 1) e=token ;; 2) e=mode ;; 3) e=dest ;; *) e=entry ;; esac
		v=${l#"$e" }
		[ "$v" != "$l" ] && [ -n "$v" ] || return 1
		case $e:$v in
		token:*[!A-Za-z0-9._-]*) false ;;
		token:* | mode:copy | mode:move | entry:cp\ ?* | entry:mv\ ?* | entry:rn\ ?*) ;;
		dest:*) one "$v" && [ -d "$w" ] && [ "${w%/}" != "$w" ] || { why=dest && false; } ;;
		*) false ;;
		esac || return 1
	done <"$1"
	[ -z "$l" ] || { why="line $((k + 1))" && return 1; }
	why='no entry'
	[ $k -ge 4 ]
}

# k=1 once this process holds the lock; a dead runner's unfinished jobs
# are interrupted, and brk keeps two submits from both breaking its lock.
take() {
	mkdir "$L" 2>/dev/null && k=1 && return
	stale && mkdir "$D/brk" 2>/dev/null || return
	if stale; then
		for n in $(each); do
			J=$D/jobs/$n
			ended || : >"$J/interrupted"
		done
		rm -rf "$L"
		mkdir "$L" && k=1
	fi
	rmdir "$D/brk"
}

submit() {
	chk "$1" || { say refused "$why"; return 1; }
	k=
	take
	n=$(cat "$D/next" 2>/dev/null)
	case $n in '' | *[!0-9]*) n=1 ;; esac
	mkdir -p "$D/jobs"
	while ! mkdir "$D/jobs/$n" 2>/dev/null; do
		[ -d "$D/jobs/$n" ] || break
		n=$((n + 1))
	done
	if [ -d "$D/jobs/$n" ] && mv -f "$1" "$D/jobs/$n/job"; then
		echo $((n + 1)) >"$D/next.$$" && mv -f "$D/next.$$" "$D/next"
		# the runner may have let go of the lock since
		[ -n "$k" ] || { mkdir "$L" 2>/dev/null && k=1; }
		say submitted "$n"
	else
		rmdir "$D/jobs/$n" 2>/dev/null
		say refused 'no room'
	fi
	[ -z "$k" ] || {
		sh "$0" run </dev/null >/dev/null 2>&1 &
		echo $! 2>/dev/null >"$L/pid"
	}
}

err() {
	m=
	while IFS= read -r l; do m=${m:+$m; }$l; done <"$J/err"
	printf %s "$m"
}

fig() {
	find -L "$1" -type f -exec stat -L -c %s {} + | {
		b=0 f=0
		while read -r z; do b=$((b + z)) f=$((f + 1)); done
		echo $b $f
	}
}

kind() { if [ -d "$1" ]; then echo folder; else echo file; fi; }

# Whether the copy $t has the bytes and files of its source $s, links
# followed; a="BYTES FILES" of the source and b of the copy when not. A
# file's two sizes take one stat.
same() {
	if [ -f "$s" ]; then
		# shellcheck disable=SC2046 # two numbers, one a word
		set -- $(stat -L -c %s "$s" "$t" 2>/dev/null)
		a="$1 1" b="${2:-0} 1"
		[ $# = 2 ] && [ "$1" = "$2" ]
	else
		a=$(fig "$s") b=$(fig "$t") && [ "$a" = "$b" ]
	fi
}

# The first path in the existing folder $2 that the same path in folder $1
# would meet with the other kind (file or folder); 1 when there is none.
clash() {
	for f in "$1"/* "$1"/.[!.]* "$1"/..?*; do
		there "$f" || continue
		h=$2/${f##*/}
		if [ -d "$f" ] && [ -d "$h" ] && [ ! -L "$h" ]; then
			x=$(clash "$f" "$h") && printf %s "$x" && return 0
		elif [ -d "$h" ] || { [ -d "$f" ] && there "$h"; }; then
			printf %s "$h" && return 0
		fi
	done
	return 1
}

# Folder $1 into the existing folder $2, as cp -r into it would: a file
# replaces its namesake by its rename alone, a folder goes into its
# namesake, and what only $2 holds stays.
fold() {
	for f in "$1"/* "$1"/.[!.]* "$1"/..?*; do
		there "$f" || continue
		h=$2/${f##*/}
		if [ -d "$f" ] && [ -d "$h" ] && [ ! -L "$h" ]; then
			(fold "$f" "$h") || return
		else
			mv -f "$f" "$h" || return
		fi
	done
}

# Only the last rename touches an existing target.
place() {
	if [ -d "$g" ] && [ ! -L "$g" ] && [ -d "$t" ]; then
		fold "$t" "$g" && rm -rf "$t"
	elif ! there "$g" || { [ -f "$g" ] && [ ! -L "$g" ] && [ -f "$t" ]; }; then
		mv -f "$t" "$g"
	else
		o=$dest.$nm.old
		rm -rf "$o"
		mv "$g" "$o" || return
		mv "$t" "$g" || { mv "$o" "$g"; return 1; }
		rm -rf "$o"
	fi
}

entry() {
	st "$1 run"
	one "${2#* }" || { st "$1 failed name $c"; return; }
	s=$w
	if [ "${2%% *}" = rn ]; then
		if mv -f "$s" "$dest" 2>"$J/err"; then st "$1 done"; else st "$1 failed mv $(err)"; fi
		return
	fi
	put "$1" "${2%% *}"
}

# The temporary copy t is the one that runs; one left from before goes.
afresh() {
	printf %s "$t" >"$J/current"
	if there "$t"; then rm -rf "$t"; fi
}

# cp with arguments $@, in the background so that cancel can kill it.
copy() {
	cp "$@" 2>"$J/err" &
	echo $! >"$J/cp.pid"
	wait $!
	set -- $?
	# emptied, not removed: every process a step starts costs the box time
	: >"$J/cp.pid"
	return "$1"
}

# Entry $1 with the source s, copied ($2 cp) or moved (mv) on its own; a
# source gone since its row was gathered was not found.
put() {
	if ! there "$s"; then st "$1 failed name 0" && return; fi
	nm=${s##*/}
	t=$dest.$nm.part g=$dest$nm
	# a file never replaces a folder, nor a folder a file, inside either
	if [ -e "$g" ] && [ "$(kind "$s")" != "$(kind "$g")" ]; then
		st "$1 failed kind $(kind "$g")" && return
	fi
	if [ -d "$g" ] && [ ! -L "$g" ] && x=$(clash "$s" "$g"); then
		st "$1 failed kind $(kind "$x") ${x#"$dest"}" && return
	fi
	afresh
	copy -rL "$s" "$t"
	r=$?
	if [ -e "$J/cancel" ]; then rm -rf "$t" && st "$1 cancelled"
	elif [ $r != 0 ]; then rm -rf "$t" && st "$1 failed cp $(err)"
	elif ! same; then rm -rf "$t" && st "$1 failed size $a $b"
	elif ! place 2>"$J/err"; then rm -rf "$t" && st "$1 failed mv $(err)"
	elif [ "$2" = cp ] || rm -rf "$s" 2>"$J/err"; then st "$1 done"
	else st "$1 failed rm $(err)"
	fi
	: >"$J/current"
}

# Plain files in a row go to the box's cp together: a file that copies in
# less time than the processes around its copy take, F bytes at most, P
# bytes in all for a row, so that a cancel or a restart undoes little.
F=524288 P=8388608 nl='
'

# Whether entry $1 ("cp WORD" or "mv WORD") joins the row whose sources are
# the rest: a plain file whose name neither a folder in the destination nor
# the row has; w= its source.
joins() {
	e=$1 && shift
	case ${e%% *} in cp | mv) ;; *) return 1 ;; esac
	[ $# = 0 ] || { [ "${e%% *}" = "$bo" ] && [ $# -lt 64 ]; } || return 1
	one "${e#* }" && [ -f "$w" ] && [ ! -d "$dest${w##*/}" ] || return 1
	for x; do [ "${x##*/}" != "${w##*/}" ] || return 1; done
}

# The row's entries from bf on, their sources in $@: runs of small files
# in one cp each, a larger one on its own.
row() {
	bz=$(stat -L -c %s "$@" 2>/dev/null) || bz=
	ba=$bf bx=$bf bu=0
	for by in $bz; do
		if [ "$by" -gt $F ] || [ $((bu + by)) -gt $P ]; then run "$@"; fi
		bx=$((bx + 1)) bu=$((bu + by))
		[ "$by" -le $F ] || run "$@"
	done
	run "$@"
	# what stat did not measure goes on its own
	while [ "$bx" -lt $((bf + $#)) ]; do bx=$((bx + 1)) && run "$@"; done
}

# The run of entries ba to bx-1 of the row whose sources are $@.
run() {
	[ "$bx" = "$ba" ] || many "$ba" $((bx - ba)) $((ba - bf)) "$@"
	ba=$bx bu=0
}

# The entries $1 to $1+$2-1 of a row, their sources the $2 after the first
# $3 of the rest: one cp into a folder under the first one's temporary
# name, one stat to measure all, one mv to put them in place. What goes
# wrong sends each on its own, for the box's own words on it.
many() {
	ma=$1 mm=$2 && shift $(($3 + 3))
	mq=$# mx=0
	while [ $mx -lt $mq ]; do
		[ $mx -ge "$mm" ] || set -- "$@" "$1"
		shift
		mx=$((mx + 1))
	done
	if [ -e "$J/cancel" ]; then mark skipped "$@" && return; fi
	if [ "$mm" = 1 ]; then s=$1 && st "$ma run" && put "$ma" "$bo" && return; fi
	mark run "$@"
	t=$dest.${1##*/}.part mr=1
	afresh
	if mkdir "$t" 2>"$J/err"; then
		copy -L "$@" "$t/"
		mr=$?
	fi
	if [ -e "$J/cancel" ]; then rm -rf "$t" && mark cancelled "$@" && return; fi
	for s; do set -- "$@" "$t/${s##*/}"; done
	if [ $mr = 0 ] && halves "$(stat -L -c %s "$@" 2>/dev/null)"; then
		(shift "$mm" && mv -f "$@" "$dest") 2>"$J/err"
		mr=$?
		placed "$@"
		rm -rf "$t"
	else
		rm -rf "$t"
		alone "$@"
	fi
	: >"$J/current"
}

# st "ENTRY $1" for the entries from ma on, one for each of the rest.
mark() {
	mk=$1 mx=$ma && shift
	for s; do st "$mx $mk" && mx=$((mx + 1)); done
}

# Whether the 2 * mm lines of $1 are mm numbers twice over.
halves() {
	hv=$1 hq='' hx=0
	while [ $hx -lt "$mm" ]; do
		case $hv in *"$nl"*) ;; *) return 1 ;; esac
		hq=$hq${hv%%"$nl"*}$nl hv=${hv#*"$nl"} hx=$((hx + 1))
	done
	[ "$hq" = "$hv$nl" ]
}

# After a run's mv (status mr), with its sources and then their copies in
# $@: an entry in place is done, for a move once its source is removed
# (all in one rm); the others failed.
placed() {
	if [ $mr = 0 ] && [ "$bo" = mv ]; then
		(
			mx=0
			while [ $mx -lt "$mm" ]; do set -- "$@" "$1" && shift && mx=$((mx + 1)); done
			shift "$mm" && rm -f "$@"
		) 2>"$J/err"
	fi
	mx=$ma
	for s; do
		[ "$mx" -lt $((ma + mm)) ] || break
		if [ -e "$t/${s##*/}" ]; then st "$mx failed mv $(err)"
		elif [ "$bo" = cp ] || ! there "$s"; then st "$mx done"
		elif [ $mr != 0 ] && rm -f "$s" 2>"$J/err"; then st "$mx done"
		else st "$mx failed rm $(err)"
		fi
		mx=$((mx + 1))
	done
}

# A run's entries one by one, after its cp or its measure failed.
alone() {
	ax=$ma
	for s; do
		[ "$ax" -lt $((ma + mm)) ] || break
		if [ -e "$J/cancel" ]; then st "$ax skipped"; else put "$ax" "$bo"; fi
		ax=$((ax + 1))
	done
}

job() {
	printf '%s\n' "$n" >"$L/job"
	{
		IFS= read -r l && IFS= read -r l && IFS= read -r l
		v=${l#dest }
		one "$v" && dest=$w || dest=$(lit "$v")
		i=0
		set --
		while IFS= read -r l; do
			i=$((i + 1)) e=${l#entry }
			if [ $# -gt 0 ] && ! joins "$e" "$@"; then
				row "$@"
				set --
			fi
			if [ -e "$J/cancel" ] || [ -e "$J/skip.$i" ]; then st "$i skipped"
			elif [ $# -gt 0 ] || joins "$e"; then
				[ $# -gt 0 ] || bf=$i bo=${e%% *}
				set -- "$@" "$w"
			else entry $i "$e"
			fi
		done
		[ $# = 0 ] || row "$@"
	} <"$J/job"
	st end
}

pick() {
	for n in $(each); do
		J=$D/jobs/$n
		[ -f "$J/job" ] && [ ! -e "$J/interrupted" ] && ! ended && return
	done
	return 1
}

runner() {
	cd / || exit
	while :; do
		if pick; then job; continue; fi
		rm -f "$L/pid"
		rm -rf "$L"
		# a job queued while the lock was let go
		pick && mkdir "$L" 2>/dev/null && echo $$ >"$L/pid" || exit 0
	done
}

poll() {
	num "$1" || return
	state
	say job "$n" "$s"
	k=${2:-0} i=0
	[ ! -f "$J/status" ] || while IFS= read -r l; do
		i=$((i + 1))
		[ $i -le "$k" ] || say status "$l"
	done <"$J/status"
	[ $s = running ] && t=$(cat "$J/current" 2>/dev/null) && [ -n "$t" ] || return 0
	# a file by its bytes: a file system may set blocks aside for a growing
	# file well ahead of its data, and du counts them
	if [ -f "$t" ]; then
		z=$(stat -c %s "$t" 2>/dev/null) && say progress $((z / 1024))
	else
		du -sk "$t" 2>/dev/null | { read -r z _ && say progress "$z"; }
	fi
}

list() {
	for n in $(each); do
		J=$D/jobs/$n
		[ -f "$J/job" ] || continue
		state
		say job "$n" "$s"
		i=0
		while IFS= read -r l; do
			case $l in
			entry\ *) i=$((i + 1)) && say entry "$i" "${l#entry }" ;;
			*) say "$l" ;;
			esac
		done <"$J/job"
		[ ! -f "$J/status" ] || while IFS= read -r l; do say status "$l"; done <"$J/status"
	done
	say end
}

cancel() {
	num "$1" || return
	: >"$J/cancel"
	p=$(cat "$J/cp.pid" 2>/dev/null) && kill "$p" 2>/dev/null
	say cancelling "$n"
}

# Entry $2 of job $1 is left out when the runner comes to it.
skip() {
	num "$1" || return
	case $2 in '' | *[!0-9]*) say usage skip && return 2 ;; esac
	: >"$J/skip.$2"
	say skipping "$n" "$2"
}

clear() {
	num "$1" || return
	state
	case $s in
	ended | interrupted)
		t=$(cat "$J/current" 2>/dev/null)
		# a runner cut short between its two renames set the old entry aside
		case $t in *.part)
			o=${t%.part}.old g=${t%/*}/${t##*/.}
			[ ! -e "$o" ] || [ -e "${g%.part}" ] || mv "$o" "${g%.part}"
			rm -rf "$t" "$o"
			;;
		esac
		rm -rf "$J"
		say cleared "$n"
		;;
	*) say busy "$n" ;;
	esac
}

trap '' HUP
case $1 in
submit | poll | list | cancel | skip | clear) v=$1 && shift && $v "$@" ;;
run) runner ;;
*) say usage submit run poll list cancel skip clear && exit 2 ;;
esac
