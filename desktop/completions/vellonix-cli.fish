# fish completion for vellonix-cli: its commands, their options and option
# values, and disk images (.mgt, .sad, any case) where a command takes one.

set -l commands ls find basic screen import convert new add extract rm rename label disk integration

# Disk images and folders below the word being typed.
function __vellonix_cli_images
    set -l token (commandline -ct)
    for path in $token*
        if test -d $path
            echo $path/
        else if string match -qir '\.(mgt|sad)$' -- $path
            echo $path
        end
    end
end

# How many words, the command (and the action of disk and integration)
# among them, stand before the one at the cursor, option values left out.
function __vellonix_cli_count
    set -l count 0
    set -l value 0
    for word in (commandline -opc)[2..-1]
        if test $value = 1
            set value 0
            continue
        end
        switch $word
            case --format --name --type --lines --device --icon --mgt --sad --desktop --quick-launch \
                --start-menu --send-to --program-group
                set value 1
            case '-*'
            case '*'
                set count (math $count + 1)
        end
    end
    echo $count
end
function __vellonix_cli_at --description 'the word at the cursor is one of these'
    contains -- (__vellonix_cli_count) $argv
end
function __vellonix_cli_past --description 'the word at the cursor comes after this one'
    test (__vellonix_cli_count) -gt $argv[1]
end

complete -c vellonix-cli -f
complete -c vellonix-cli -l help -d 'Show the help'
complete -c vellonix-cli -n "not __fish_seen_subcommand_from $commands" -l version -d 'Show the version'
complete -c vellonix-cli -n "not __fish_seen_subcommand_from $commands" -a ls -d 'List images'
complete -c vellonix-cli -n "not __fish_seen_subcommand_from $commands" -a find -d 'Files whose names match'
complete -c vellonix-cli -n "not __fish_seen_subcommand_from $commands" -a basic -d 'A SAM BASIC listing'
complete -c vellonix-cli -n "not __fish_seen_subcommand_from $commands" -a screen -d 'A SCREEN$ picture as PNG'
complete -c vellonix-cli -n "not __fish_seen_subcommand_from $commands" -a import -d 'An image other tools wrote'
complete -c vellonix-cli -n "not __fish_seen_subcommand_from $commands" -a convert -d 'Re-save an image'
complete -c vellonix-cli -n "not __fish_seen_subcommand_from $commands" -a new -d 'Write a blank disk'
complete -c vellonix-cli -n "not __fish_seen_subcommand_from $commands" -a add -d 'Add host files'
complete -c vellonix-cli -n "not __fish_seen_subcommand_from $commands" -a extract -d 'Write a file to the host'
complete -c vellonix-cli -n "not __fish_seen_subcommand_from $commands" -a rm -d 'Erase a file'
complete -c vellonix-cli -n "not __fish_seen_subcommand_from $commands" -a rename -d 'Rename a file'
complete -c vellonix-cli -n "not __fish_seen_subcommand_from $commands" -a label -d 'Change the disk name'
complete -c vellonix-cli -n "not __fish_seen_subcommand_from $commands" -a disk -d 'A real SAM floppy'
complete -c vellonix-cli -n "not __fish_seen_subcommand_from $commands" -a integration -d 'Ties into the desktop'

# Image arguments, and host files where a command takes those.
function __vellonix_cli_image_argument
    __fish_seen_subcommand_from ls; and return
    __fish_seen_subcommand_from basic screen new add extract rm rename label; and __vellonix_cli_at 1; and return
    __fish_seen_subcommand_from convert; and __vellonix_cli_at 1 2; and return
    __fish_seen_subcommand_from import read write; and __vellonix_cli_at 2
end
function __vellonix_cli_file_argument
    __fish_seen_subcommand_from find add; and __vellonix_cli_past 1; and return
    __fish_seen_subcommand_from import; and __vellonix_cli_at 1; and return
    __fish_seen_subcommand_from extract screen; and __vellonix_cli_at 3
end
complete -c vellonix-cli -n __vellonix_cli_image_argument -a '(__vellonix_cli_images)'
complete -c vellonix-cli -n __vellonix_cli_file_argument -F

complete -c vellonix-cli -n "__fish_seen_subcommand_from ls find" -l json -d 'Print JSON'
complete -c vellonix-cli -n "__fish_seen_subcommand_from find" -l type -x -d 'Only files of this type'
complete -c vellonix-cli -n "__fish_seen_subcommand_from basic" -l lines -x -d 'Only lines FROM-TO'
complete -c vellonix-cli -n "__fish_seen_subcommand_from screen" -l native -d "The mode's own size"
complete -c vellonix-cli -n "__fish_seen_subcommand_from new" -l format -x -a 'sam-dos masterdos b-dos' -d 'Directory format'
complete -c vellonix-cli -n "__fish_seen_subcommand_from new" -l name -x -d 'Disk name'
complete -c vellonix-cli -n "__fish_seen_subcommand_from new convert import read" -l force -d 'Replace an existing image'
complete -c vellonix-cli -n "__fish_seen_subcommand_from disk; and not __fish_seen_subcommand_from read write" -a 'read write'
complete -c vellonix-cli -n "__fish_seen_subcommand_from read write" -l device -r -F -d 'The drive'
complete -c vellonix-cli -n "__fish_seen_subcommand_from integration; and not __fish_seen_subcommand_from set" -a set -d 'Change the boxes'
complete -c vellonix-cli -n "__fish_seen_subcommand_from integration; and not __fish_seen_subcommand_from set" -l json -d 'Print JSON'
complete -c vellonix-cli -n "__fish_seen_subcommand_from set" -l icon -x -a '0 1 2' -d 'The icon the image files show'
complete -c vellonix-cli -n "__fish_seen_subcommand_from set" -l mgt -x -a 'on off' -d 'Open .mgt files with the program'
complete -c vellonix-cli -n "__fish_seen_subcommand_from set" -l sad -x -a 'on off' -d 'Open .sad files with the program'
complete -c vellonix-cli -n "__fish_seen_subcommand_from set" -l desktop -x -a 'on off' -d 'Add to Desktop'
complete -c vellonix-cli -n "__fish_seen_subcommand_from set" -l quick-launch -x -a 'on off' -d 'Add to Quick launch bar'
complete -c vellonix-cli -n "__fish_seen_subcommand_from set" -l start-menu -x -a 'on off' -d 'Add to Start menu'
complete -c vellonix-cli -n "__fish_seen_subcommand_from set" -l send-to -x -a 'on off' -d 'Add to Send to folder'
complete -c vellonix-cli -n "__fish_seen_subcommand_from set" -l program-group -x -a 'on off' -d 'Create Program group'
